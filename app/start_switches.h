#pragma once
// The switches that reach beyond the monitor as it always was. Without them it is exactly that.

#include <optional>
#include <string>
#include <vector>

#include "data.h"

struct TStartChoices {
  int PortNumber = 0;   // 1..256 when "/port" chose one; 0 keeps COM1 and the plain caption
  std::wstring LogPath;  // as typed, every character kept; empty: no log
};

// Why a start is refused: one box before any window of the program's own.
struct TStartRefusal {
  AnsiString Caption;
  AnsiString Text;     // followed in the box by Value
  std::wstring Value;  // what the user gave, as given
};

// Reads the parameters after the program path. Switches come in any order; the parameter after
// a switch is its value unless it is missing or a switch itself; a later switch overrides an
// earlier one; anything else is ignored. "/ih" means something only as the first parameter,
// which the caller tests before this.
std::optional<TStartRefusal> ReadStartSwitches(const std::vector<std::wstring>& params,
                                               TStartChoices& choices);

// "3", "COM3", "com003": 3; 0 when the text names no port from 1 to 256.
int ParsePortNumber(const std::wstring& text);
