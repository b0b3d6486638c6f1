#include <string>

#include "probes.h"
#include "str_mask.h"

namespace {

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

TEST_F(StrMaskTest, EndOfChargePatternNeedsSevenLeadingZeros) {
  EXPECT_TRUE(Matches("0000000*", "0000000"));
  EXPECT_TRUE(Matches("0000000*", "0000000\r1#*?"));
  EXPECT_FALSE(Matches("0000000*", "000000"));
  EXPECT_FALSE(Matches("0000000*", "1000000"));
  EXPECT_FALSE(Matches("0000000*", " 0000000"));
}

TEST_F(StrMaskTest, DigitAnyDigitAndEmptyPatterns) {
  EXPECT_TRUE(Matches("#?#", "1x2"));
  EXPECT_TRUE(Matches("#?#", "1 2"));
  EXPECT_FALSE(Matches("#?#", "12"));
  EXPECT_FALSE(Matches("#?#", "1x2y"));
  EXPECT_FALSE(Matches("#?#", "ax2"));
  EXPECT_TRUE(Matches("*", ""));
  EXPECT_TRUE(Matches("", ""));
  EXPECT_FALSE(Matches("", "a"));
  EXPECT_FALSE(Matches("a*b", "ab\x80"));
}

TEST_F(StrMaskTest, IgnoreCaseOnlyWhenExactlyOneAndPassesTextUnchanged) {
  mask.IgnoreCase = 1;
  EXPECT_TRUE(Matches("Ab*", "aBc"));
  // Cyrillic under any system code page: ЧАС* against часы, ЁЖ against ёж.
  EXPECT_TRUE(Matches("\xD7\xC0\xD1*", "\xF7\xE0\xF1\xFB"));
  EXPECT_TRUE(Matches("\xB8\xE6", "\xA8\xC6"));
  mask.IgnoreCase = 0;
  EXPECT_FALSE(Matches("Ab*", "aBc"));
  mask.IgnoreCase = 2;
  EXPECT_FALSE(Matches("Ab*", "aBc"));
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

// A byte 0 is an ordinary character of a length-counted text, never an end.
TEST(MatchMask, ByteZeroIsAnOrdinaryCharacter) {
  using namespace std::string_literals;
  EXPECT_TRUE(MatchMask("a\0b"s, "a?b"));
  EXPECT_TRUE(MatchMask("0000000\0"s, "0000000*"));
  EXPECT_TRUE(MatchMask("a\0"s, "a\0"s));
  EXPECT_FALSE(MatchMask("a"s, "a\0"s));
  EXPECT_FALSE(MatchMask("a\0"s, "a"));
  EXPECT_FALSE(MatchMask("a"s, "a\0b"s));
  EXPECT_FALSE(MatchMask("\0"s, "#"));
}

TEST(MatchMask, LongTextsAndManyStarsStayFast) {
  const std::string zeros(1'000'000, '0');
  EXPECT_TRUE(MatchMask(zeros, "0000000*"));
  EXPECT_FALSE(MatchMask(zeros, "*1"));
  EXPECT_FALSE(MatchMask(std::string(5000, 'a'), "*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(MatchMask(std::string(5000, 'a') + "b", "*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(MatchMask, AgreesWithTheRecursiveSearchOnEverySmallCase) {
  std::vector<std::string> patterns, texts;
  AllStrings("0a#?*", 5, patterns);
  AllStrings("01a", 4, texts);
  for (const auto& p : patterns)
    for (const auto& t : texts)
      ASSERT_EQ(MatchMask(t, p), ReferenceMatch(t + '\0', p + '\0', 1, 1)) << p << " / " << t;
}

}  // namespace
