#include <string>

#include "probes.h"
#include "str_mask.h"

namespace {

using namespace std::string_literals;
using StrMask = DispatchTest;

// Every text goes through the element: exactly one output must get it, unchanged.
TEST_F(StrMask, WildcardsAndIgnoreCaseThroughTheElement) {
  TNdStrMask mask;
  TProbe yes, no;
  mask.onMatch = yes.Link();
  mask.onNoMatch = no.Link();
  const std::string as(5000, 'a'), stars = "*a*a*a*a*a*a*a*a*a*a*a*b";
  const struct {
    std::string pattern, text;
    bool match;
    std::uint8_t ignoreCase = 0;
  } cases[] = {
      {"0000000*", "0000000", true}, {"0000000*", "0000000\r1#*?", true},
      {"0000000*", "000000", false}, {"0000000*", " 0000000", false},
      {"#?#", "1 2", true}, {"#?#", "1\0" "2"s, true}, {"#?#", "12", false},
      {"#?#", "1x2y", false}, {"#?#", "ax2", false}, {"*", "", true}, {"", "a", false},
      {"a*b", "ab\x80", false}, {"a\0b"s, "a\0b"s, true}, {"a", "a\0"s, false},
      // A search that backtracks over every star would not end.
      {stars, as, false}, {stars, as + "b", true},
      // Only IgnoreCase 1 folds, Cyrillic as well: ЧАС* / часы, ёж / ЁЖ.
      {"Ab*", "aBc", true, 1}, {"Ab*", "aBc", false, 0}, {"Ab*", "aBc", false, 2},
      {"\xD7\xC0\xD1*", "\xF7\xE0\xF1\xFB", true, 1}, {"\xB8\xE6", "\xA8\xC6", true, 1},
      {"\xD7\xC0\xD1", "\xF7\xE0\xF1", false, 0},
      // Each class at both ends of its range and just outside it: digits, any byte but the
      // end, Latin A-Z and Cyrillic А-Я folded; а, just past Я, stays а.
      {"####", "0909", true}, {"#", "/", false}, {"#", ":", false}, {"??", "\x01\xFF", true},
      {"AZ", "az", true, 1}, {"@", "`", false, 1}, {"[", "{", false, 1},
      {"\xC0\xDF", "\xE0\xFF", true, 1}, {"\xE0", "\xC0", true, 1},
      // The end of charge against the readings nearest to it: one place of the seven off.
      {"0000000*", "1000000\r", false, 1}, {"0000000*", "0900000\r", false, 1},
      {"0000000*", "00/0000\r", false, 1}, {"0000000*", "000:000\r", false, 1},
      {"0000000*", "0000O00\r", false, 1}, {"0000000*", "0000080\r", false, 1},
      {"0000000*", "000000 \r", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern + " / " + c.text.substr(0, 20));
    mask.Mask = c.pattern;
    mask.IgnoreCase = c.ignoreCase;
    yes.Received.clear();
    no.Received.clear();
    RaiseString(MakeEvent<&TNdStrMask::doCheck>(&mask, 0), c.text);
    TProbe& expected = c.match ? yes : no;
    ASSERT_EQ(yes.Received.size() + no.Received.size(), 1u);
    ASSERT_EQ(expected.Received.size(), 1u);
    EXPECT_EQ(expected.Received[0].StrValue, c.text);
  }
}

}  // namespace
