#pragma once
// Tests a string against a wildcard pattern and passes it on to onMatch or onNoMatch.

#include <cstdint>
#include <string_view>

#include "data.h"
#include "event.h"
#include "object.h"

// Whole-string match. "#" is one digit 0-9, "?" one character of any value, "*" any run
// (the empty one too); every other pattern character matches itself. There is no escape.
// Texts are length-counted: a byte 0 in the text or the pattern is an ordinary character.
bool MatchMask(std::string_view text, std::string_view mask);

class TNdStrMask : public TObject {
public:
  AnsiString Mask;
  std::uint8_t IgnoreCase = 0;  // exactly 1 lower-cases text and pattern before matching

  TNd_Event StrInput;
  TNd_Event onMatch;
  TNd_Event onNoMatch;

  void doCheck(TData& data, std::uint16_t index);
};
