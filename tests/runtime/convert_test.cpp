#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "convert.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();

TEST(IntToStrTest, SignsAndExtremes) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-7), "-7");
  EXPECT_EQ(IntToStr(1000), "1000");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(RealToStrTest, FifteenSignificantDigitsWithoutExponent) {
  const std::string zeros20(20, '0');
  const struct {
    double value;
    std::string text;
  } cases[] = {
      {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {12.5, "12.5"}, {100.0, "100"}, {0.05, "0.05"},
      {-0.25, "-0.25"}, {4999999999999.5, "4999999999999.5"}, {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"}, {123456789012345678.0, "123456789012346000"},
      {1e20, "1" + zeros20}, {-1e20, "-1" + zeros20}, {1e-20, "0." + zeros20.substr(1) + "1"},
      // A carry into the fifteenth digit stops the scaling one digit early.
      {999999999999999.0, "1000000000000000"}, {9.999999999999995, "10"},
      // Exact halves go to the even neighbour.
      {100000000000000.5, "100000000000000"}, {100000000000001.5, "100000000000002"},
      {10000000000000.25, "10000000000000.2"}, {10000000000000.75, "10000000000000.8"},
      // A double computation gets the last digit of these wrong; extended gets it right.
      {11748739.0 / 12, "979061.583333333"}, {812063.0 / 96, "8458.98958333333"},
      {4.0993314075725253, "4.09933140757253"}, {94.577054443708349, "94.5770544437083"},
      {8.8530455675050655e-13, "0.000000000000885304556750507"},
      {std::numeric_limits<double>::denorm_min(), "0." + std::string(323, '0') + "494065645841247"},
      {std::numeric_limits<double>::max(), "179769313486232" + std::string(294, '0')},
      {inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<double>::quiet_NaN(), "NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(RealToStr(c.value), c.text) << c.value;
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
std::uint16_t x87ControlWord() {
  std::uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word) : : "memory");
  return word;
}

void setX87ControlWord(std::uint16_t word) { __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory"); }

// A caller may have the x87 unit at double precision; the digits must not change and the
// caller's setting must come back.
TEST(RealToStrTest, DigitsDoNotDependOnTheCallersPrecisionControl) {
  const std::uint16_t original = x87ControlWord();
  const auto doublePrecision = static_cast<std::uint16_t>((original & ~0x0300) | 0x0200);
  setX87ControlWord(doublePrecision);
  const std::string text = RealToStr(11748739.0 / 12);
  const double value = StrToReal("1.9");
  const std::uint16_t after = x87ControlWord();
  setX87ControlWord(original);
  EXPECT_EQ(text, "979061.583333333");
  EXPECT_EQ(value, 1.9000000000000001);
  EXPECT_EQ(after, doublePrecision);
}
#endif

TEST(StrToIntTest, LenientScanThatWraps) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"42", 42}, {"+42", 42}, {"-42", -42}, {"42abc", 42}, {"abc", 0}, {"", 0}, {" 42", 0},
      {"+-5", 0}, {"2147483648", std::numeric_limits<std::int32_t>::min()}, {"4294967297", 1},
      {"-4294967297", -1}, {"99999999999", 1215752191},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToRealTest, LenientScan) {
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"-3.5", -3.5}, {"12,5", 125.0}, {"1.2.3", 1.2}, {"1 000", 1000.0}, {"+7", 7.0},
      {"4-2", 42.0}, {"--5", -5.0}, {"3.5\r\n", 3.5}, {"\t1\xC2\xFF" "2", 12.0}, {"", 0.0},
      {"abc", 0.0}, {"2.5e2", 250.0}, {"5E-1", 0.5}, {"1e+3", 1000.0}, {"7e", 7.0},
      {"3e2.5", 300.0}, {"1.5.e3", 1.5}, {"1e22", 1e22}, {"1e308", 1e308}, {"1e400", inf},
      {"-1e400", -inf}, {"1e-400", 0.0},
      // Each step is computed in extended precision and rounded to double when stored.
      {".15", 0.14999999999999999}, {".06", 0.059999999999999998}, {"1.9", 1.9000000000000001},
      {"1.9583", 1.9583000000000002}, {"00.7", 0.70000000000000007},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToReal(c.text), c.value) << c.text;
  EXPECT_DOUBLE_EQ(StrToReal("1.2345"), 1.2345);
  EXPECT_NEAR(StrToReal("1e-320"), 1e-320, 1e-323) << "subnormal results survive";
}

// A scaling loop per unit of exponent would hang here.
TEST(StrToRealTest, AbsurdExponentsReturnAtOnce) {
  EXPECT_EQ(StrToReal("1e2147483647"), inf);
  EXPECT_EQ(StrToReal("-1e2147483647"), -inf);
  EXPECT_EQ(StrToReal("1e-999999999"), 0.0);
  EXPECT_EQ(StrToReal("1e-2147483648"), 0.0);
  EXPECT_EQ(StrToReal("0e2147483647"), 0.0);
  EXPECT_EQ(StrToReal("1e4294967295"), 0.1) << "the exponent text wraps like any integer text";
}

}  // namespace
