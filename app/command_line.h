#pragma once
// Parameters of a raw command line, scanned as the Windows start-up convention has them.

#include <string>
#include <vector>

#include "data.h"

// Parameter `index` of commandLine: 0 is the program path, 1 the first parameter. Blanks are
// units 1 to 32, and an empty "" pair counts as a blank; a quote runs to the next quote (or the
// end), so a quoted parameter may hold blanks; units above 127 are parameter units and a unit 0
// ends the text. One outer pair of quotes is removed; quotes elsewhere stay. Missing
// parameters, a negative index and a null commandLine give "".
AnsiString GetCommandLineParam(const char* commandLine, int index);

// Every parameter after the program path, cut the same way from a UTF-16 line, so a path keeps
// characters that no 8-bit code page holds.
std::vector<std::wstring> CommandLineParams(const wchar_t* commandLine);
