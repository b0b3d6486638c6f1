#pragma once
// Parameters of a raw 8-bit command line, scanned as the Windows start-up convention has them.

#include "data.h"

// Parameter `index` of commandLine: 0 is the program path, 1 the first parameter. Blanks are
// bytes 1 to 32, and an empty "" pair counts as a blank; a quote runs to the next quote (or the
// end), so a quoted parameter may hold blanks; bytes 128 to 255 are parameter bytes and a byte 0
// ends the text. One outer pair of quotes is removed; quotes elsewhere stay. Missing
// parameters, a negative index and a null commandLine give "".
AnsiString GetCommandLineParam(const char* commandLine, int index);
