#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "conversion_models.h"
#include "convert.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();

TEST(ConvertTest, NumbersAreWrittenWithFifteenDigitsAtMost) {
  EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
  const std::string zeros(20, '0');
  const std::pair<double, std::string> cases[] = {
      {-0.0, "0"}, {12.5, "12.5"}, {100.0, "100"}, {-0.25, "-0.25"}, {2.0 / 3, "0.666666666666667"},
      {123456789012345678.0, "123456789012346000"}, {1e20, "1" + zeros},
      {1e-20, "0." + zeros.substr(1) + "1"},
      // A carry into the fifteenth digit stops the scaling one digit early.
      {999999999999999.0, "1000000000000000"}, {9.999999999999995, "10"},
      // Exact halves go to the even neighbour.
      {100000000000000.5, "100000000000000"}, {100000000000001.5, "100000000000002"},
      {10000000000000.25, "10000000000000.2"}, {10000000000000.75, "10000000000000.8"},
      // Scaling in double precision would get the last digit of these wrong.
      {11748739.0 / 12, "979061.583333333"}, {812063.0 / 96, "8458.98958333333"},
      {4.0993314075725253, "4.09933140757253"}, {8.8530455675050655e-13, "0.000000000000885304556750507"},
      {std::numeric_limits<double>::denorm_min(), "0." + std::string(323, '0') + "494065645841247"},
      {inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<double>::quiet_NaN(), "NAN"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(RealToStr(value), text) << value;
}

TEST(ConvertTest, TextsAreReadLeniently) {
  const std::pair<const char*, std::int32_t> integers[] = {
      {"+42", 42}, {"-42", -42}, {"42abc", 42}, {" 42", 0}, {"+-5", 0}, {"-4294967297", -1},
      {"99999999999", 1215752191},
  };
  for (const auto& [text, value] : integers) EXPECT_EQ(StrToInt(text), value) << text;
  const std::pair<std::string, double> cases[] = {
      {"-3.5", -3.5}, {"12,5", 125.0}, {"1.2.3", 1.2}, {"1 000", 1000.0}, {"+7", 7.0}, {"4-2", 42.0},
      {"--5", -5.0}, {"3.5\r\n", 3.5}, {"\t1\xC2\xFF" "2", 12.0}, {"", 0.0}, {"abc", 0.0},
      {"2.5e2", 250.0}, {"5E-1", 0.5}, {"1e+3", 1000.0}, {"7e", 7.0}, {"3e2.5", 300.0}, {"1.5.e3", 1.5},
      {"1e22", 1e22}, {"1e308", 1e308}, {"1e-320", 1e-320}, {"1e400", inf}, {"-1e400", -inf},
      // Absurd exponents return at once, and the exponent text wraps like any integer text.
      {"1e2147483647", inf}, {"1e-2147483648", 0.0}, {"0e2147483647", 0.0}, {"1e4294967295", 0.1},
      // Each step is computed in extended precision and rounded to double when stored.
      {".15", 0.14999999999999999}, {".06", 0.059999999999999998}, {"1.9", 1.9000000000000001},
      {"1.9583", 1.9583000000000002}, {"00.7", 0.70000000000000007},
      {"34082162017802535", 34082162017802536.0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToReal(text), value) << text;
}

// Texts and values from a fixed generator, half of them with the caller's x87 unit at double
// precision, as a 64-bit Windows process may run it: the results are the models', and the
// caller's setting comes back.
TEST(ConvertTest, AgreesWithTheModelsWhateverTheCallersPrecision) {
  std::mt19937_64 random(1);
  const std::string alphabet = "0123456789012345678.-+e ";
  for (int n = 0; n < 20000; ++n) {
    const std::uint64_t bits = random();
    std::string text;
    while (text.size() < bits % 24) text += alphabet[random() % alphabet.size()];
    // Every bit pattern, or a mantissa of up to 64 bits scaled by 2^-100 to 2^50.
    const double scaled = std::ldexp(bits >> bits % 64, static_cast<int>(bits % 151) - 100);
    const double value = n % 3 == 0 ? std::bit_cast<double>(bits) : scaled;
    model::Precision caller(n % 2 == 0 ? 2 : 3);
    const std::uint16_t word = model::ControlWord();
    const std::string printed = RealToStr(value);
    const double read = StrToReal(text);
    ASSERT_EQ(model::ControlWord(), word);
    ASSERT_EQ(printed, model::RealToStr(value)) << std::hexfloat << value;
    ASSERT_EQ(model::Bits(read), model::Bits(model::StrToReal(text))) << text;
    ASSERT_EQ(StrToInt(text), model::StrToInt(text)) << text;
    ASSERT_EQ(IntToStr(static_cast<std::int32_t>(bits)), std::to_string(static_cast<std::int32_t>(bits)));
  }
}

}  // namespace
