#pragma once

#include "data.h"

// Parameter `index` of this process's command line: 0 is the executable's path.
AnsiString GetCommandLineParam(int index);

// The path after "/log" as the first parameter; empty without the switch or without a path.
AnsiString ChargeLogSwitch();
