#include <string>

#include "probes.h"
#include "str_mask.h"

namespace {

using namespace std::string_literals;

class StrMaskTest : public DispatchTest {
protected:
  TNdStrMask mask;
  TProbe yes, no;
  void SetUp() override {
    DispatchTest::SetUp();
    mask.onMatch = yes.Link();
    mask.onNoMatch = no.Link();
  }
  // Routes text through the element; exactly one output must get it, unchanged.
  bool Matches(const std::string& pattern, const std::string& text) {
    mask.Mask = pattern;
    yes.Received.clear();
    no.Received.clear();
    RaiseString(MakeEvent<&TNdStrMask::doCheck>(&mask, 0), text);
    EXPECT_EQ(yes.Received.size() + no.Received.size(), 1u) << pattern << " / " << text;
    const auto& got = yes.Received.empty() ? no.Received : yes.Received;
    if (!got.empty()) {
      EXPECT_EQ(got[0].StrValue, text);
    }
    return !yes.Received.empty();
  }
};

// The recursive search with end markers, 1-based, as the element's behaviour is defined;
// valid for texts and patterns without a byte 0, where the markers leave both ends together.
bool ReferenceMatch(const std::string& t, const std::string& p, std::size_t i, std::size_t j) {
  while (j <= p.size() && i <= t.size()) {
    const char c = p[j - 1];
    const char x = t[i - 1];
    if (c == '*') {
      if (ReferenceMatch(t, p, i, j + 1)) return true;
      if (i >= t.size()) return false;
      do {
        if (ReferenceMatch(t, p, ++i, j + 1)) return true;
      } while (i < t.size());
    } else if (c == '#' ? (x >= '0' && x <= '9') : c == '?' ? x != '\0' : c == x) {
      ++i, ++j;
    } else {
      break;
    }
  }
  return j > p.size() && i > t.size();
}

void AllStrings(const std::string& alphabet, std::size_t maxLength, std::vector<std::string>& out,
                std::string prefix = "") {
  out.push_back(prefix);
  if (prefix.size() < maxLength)
    for (char c : alphabet) AllStrings(alphabet, maxLength, out, prefix + c);
}

TEST_F(StrMaskTest, PatternsAndIgnoreCaseThroughTheElement) {
  const struct {
    const char* pattern;
    std::string text;
    bool match;
    std::uint8_t ignoreCase = 0;
  } cases[] = {
      // The end of charge: seven leading zeros.
      {"0000000*", "0000000", true}, {"0000000*", "0000000\r1#*?", true},
      {"0000000*", "000000", false}, {"0000000*", "1000000", false},
      {"0000000*", " 0000000", false},
      {"#?#", "1x2", true}, {"#?#", "1 2", true}, {"#?#", "12", false}, {"#?#", "1x2y", false},
      {"#?#", "ax2", false}, {"*", "", true}, {"", "", true}, {"", "a", false},
      {"a*b", "ab\x80", false},
      // Case folds only at IgnoreCase 1, Cyrillic under any code page: ЧАС* / часы, ёж / ЁЖ.
      {"Ab*", "aBc", true, 1}, {"Ab*", "aBc", false, 0}, {"Ab*", "aBc", false, 2},
      {"\xD7\xC0\xD1*", "\xF7\xE0\xF1\xFB", true, 1}, {"\xB8\xE6", "\xA8\xC6", true, 1},
  };
  for (const auto& c : cases) {
    mask.IgnoreCase = c.ignoreCase;
    EXPECT_EQ(Matches(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
  }
}

TEST_F(StrMaskTest, DefersOnTheArrivingRecordAndReadsALinkedInput) {
  TData record = StringData("0000000");
  mask.Mask = "0000000*";
  mask.doCheck(record, 0);
  EXPECT_EQ(record.DataType, dtString | DeferredEventBit);
  EXPECT_EQ(record.NextEvent, &mask.onMatch);
  EXPECT_TRUE(yes.Received.empty());

  TSource source;
  source.Value = StringData("00000001");
  mask.StrInput = source.Link();
  RaiseString(MakeEvent<&TNdStrMask::doCheck>(&mask, 0), "123");
  ASSERT_EQ(yes.Received.size(), 1u);
  EXPECT_EQ(yes.Received[0].StrValue, "00000001");
}

// A byte 0 is an ordinary character of a length-counted text, never an end; long texts and
// many stars must not take a backtracking search's time.
TEST(MatchMask, ByteZeroLongTextsAndManyStars) {
  const std::string zeros(1'000'000, '0'), as(5000, 'a'), stars = "*a*a*a*a*a*a*a*a*a*a*a*b";
  const struct {
    std::string text, mask;
    bool match;
  } cases[] = {
      {"a\0b"s, "a?b", true}, {"0000000\0"s, "0000000*", true}, {"a\0"s, "a\0"s, true},
      {"a", "a\0"s, false},   {"a\0"s, "a", false},            {"a", "a\0b"s, false},
      {"\0"s, "#", false},    {zeros, "0000000*", true},       {zeros, "*1", false},
      {as, stars, false},     {as + "b", stars, true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchMask(c.text, c.mask), c.match) << c.mask;
}

TEST(MatchMask, AgreesWithTheRecursiveSearchOnTrickyPatterns) {
  std::vector<std::string> texts;
  AllStrings("01a", 4, texts);
  for (const char* p : {"", "*", "**", "*0", "0*", "*0*", "0*0", "*0*0", "*a*a", "?*?", "*?",
                        "#?#", "*#*#", "a**?", "0*#*a*", "##*", "*a"})
    for (const auto& t : texts)
      ASSERT_EQ(MatchMask(t, p), ReferenceMatch(t + '\0', p + "\0"s, 1, 1)) << p << " / " << t;
}

}  // namespace
