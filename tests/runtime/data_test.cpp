#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "event.h"
#include "stream.h"

namespace {

TData record(std::uint8_t tag, std::int32_t i = 0, const char* s = "", double r = 0.0) {
  TData d;
  d.DataType = tag;
  d.IntValue = i;
  d.StrValue = s;
  d.RealValue = r;
  return d;
}

TEST(DataTest, MakersClearLinksAndTheDeferredBitHidesTheTag) {
  TNd_Event event;
  TData other;
  TMemoryStream stream;
  TData d = record(dtReal | DeferredEventBit, 7, "kept", 1.5);
  const auto link = [&] { d.NextEvent = &event; d.Next = &other; };
  const auto unlinked = [&] { return d.NextEvent == nullptr && d.Next == nullptr; };
  link();
  MakeNull(d);
  EXPECT_TRUE(d.DataType == dtNull && unlinked());
  EXPECT_TRUE(d.IntValue == 7 && d.StrValue == "kept" && d.RealValue == 1.5);
  link();
  MakeString(d, "abc");
  EXPECT_TRUE(d.DataType == dtString && d.StrValue == "abc" && unlinked());
  link();
  MakeInteger(d, 42);
  EXPECT_TRUE(IsInteger(d) && d.IntValue == 42 && unlinked());
  link();
  MakeStream(d, &stream);
  EXPECT_TRUE(IsStream(d) && d.StreamValue == &stream && unlinked());
  TData copy = d;
  copy.StrValue += "!";
  EXPECT_EQ(d.StrValue, "abc") << "a copy owns its own text";
  EXPECT_FALSE(IsInteger(record(dtInteger | DeferredEventBit)));
  EXPECT_FALSE(IsStream(record(dtStream | DeferredEventBit)));
}

TEST(DataTest, ConversionsFollowTheTag) {
  struct Case {
    TData d;
    std::int32_t integer;
    double real;
    const char* text;
    std::int32_t index;
  };
  const Case cases[] = {
      {record(dtInteger, -5), -5, -5.0, "-5", -5},
      {record(dtString, 0, "3.25"), 3, 3.25, "3.25", 3},
      {record(dtString, 0, "12,5"), 12, 125.0, "12,5", 12},
      {record(dtString, 0, "0"), 0, 0.0, "0", 0},
      {record(dtString, 0, "007"), 7, 7.0, "007", 7},
      {record(dtString, 0, ""), 0, 0.0, "", -1},
      {record(dtString, 0, "x"), 0, 0.0, "x", -1},
      {record(dtString, 0, "-0"), 0, 0.0, "-0", -1},
      {record(dtReal, 0, "", 12.5), 12, 12.5, "12.5", 12},
      {record(dtNull, 9, "9", 9.0), 0, 0.0, "", -1},
      {record(dtBreak, 9, "9", 9.0), 0, 0.0, "", -1},
      {record(dtColor, 9, "9", 9.0), 0, 0.0, "", -1},
      // The deferred bit matches no tag.
      {record(dtInteger | DeferredEventBit, 5, "5", 5.0), 0, 0.0, "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("tag " + std::to_string(c.d.DataType) + " " + c.d.StrValue);
    EXPECT_EQ(ToInteger(c.d), c.integer);
    EXPECT_EQ(ToReal(c.d), c.real);
    EXPECT_EQ(ToStr(c.d), c.text);
    EXPECT_EQ(ToIndex(c.d), c.index);
  }
}

TEST(DataTest, RealsRoundToNearestEvenAndKeepTheLow32Bits) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::int32_t expected;
  } cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.5, 0}, {-1.5, -2}, {0.5000000000000001, 1},
      {4294967297.0, 1}, {4294967295.0, -1}, {2147483648.0, std::numeric_limits<std::int32_t>::min()},
      // The doubles nearest the ends of the 64-bit range still go through it...
      {9223372036854774784.0, -1024}, {-4611686018427387904.0 - 1024.0, -1024},
      // ...and what has no 64-bit rounding gives 0 instead of an undefined conversion.
      {9223372036854775808.0, 0}, {-9223372036854777856.0, 0}, {1e300, 0}, {inf, 0}, {-inf, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToInteger(record(dtReal, 0, "", c.value)), c.expected) << c.value;
    EXPECT_EQ(ToIndex(record(dtReal, 0, "", c.value)), c.expected) << c.value;
  }
}

TEST(MemoryStreamTest, ReadsAdvanceAndSeekIsClamped) {
  TMemoryStream stream({1, 2, 3, 4, 5});
  unsigned char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 3), 3);
  EXPECT_EQ(stream.Read(buffer + 3, 8), 2);
  EXPECT_EQ(std::memcmp(buffer, "\1\2\3\4\5", 5), 0);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  stream.Seek(-4);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Read(buffer, -1), 0);
  stream.Seek(99);
  EXPECT_EQ(stream.Position(), 5);
}

}  // namespace
