#pragma once

#include <string>
#include <vector>

#include "data.h"

// Parameter `index` of this process's command line: 0 is the executable's path.
AnsiString GetCommandLineParam(int index);

// The parameters after the executable's path, as typed: switch values keep every character.
std::vector<std::wstring> StartParams();
