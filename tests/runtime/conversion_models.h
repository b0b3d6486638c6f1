#pragma once
// Reference models of text to integer, text to real and real to text, written from their
// step-by-step definitions and independent of the product code. The unit tests and the fuzz
// targets compare the product with them bit for bit.

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace model {

// x86 only: the conversions' results are defined by the x87 unit's extended precision.
inline std::uint16_t ControlWord() {
  std::uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word) : : "memory");
  return word;
}

inline void SetControlWord(std::uint16_t word) { __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory"); }

// The x87 precision control for a scope: 2 double, 3 extended. The models hold their own
// extended setting, so a product that fails to set it shows as a difference.
struct Precision {
  const std::uint16_t saved = ControlWord();
  explicit Precision(unsigned pc) { SetControlWord(static_cast<std::uint16_t>((saved & ~0x300u) | pc << 8)); }
  ~Precision() { SetControlWord(saved); }
};

// Doubles compared by their bits, so that -0 is not 0.
inline std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One optional sign, then digits up to the first other byte, wrapping modulo 2^32.
inline std::int32_t StrToInt(const std::string& text) {
  const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
  std::uint64_t value = 0;
  for (std::size_t i = sign ? 1 : 0; i < text.size() && IsDigit(text[i]); ++i)
    value = (value * 10 + static_cast<std::uint64_t>(text[i] - '0')) % 0x100000000;
  if (sign && text[0] == '-') value = (0x100000000 - value) % 0x100000000;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// a * b + c in extended precision, rounded to double once, at the end. Volatile, so that no
// step is moved ahead of the precision setting.
[[gnu::noinline]] inline double ExtendedStep(double a, long double b, long double c) {
  volatile long double product = a * b;
  volatile long double sum = product + c;
  return static_cast<double>(sum);
}

// The exponent: 10^n by squaring over the bits of n (capped at 800), then one multiplication
// or division, all in extended precision.
inline double Scale(double value, std::int32_t n) {
  std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  volatile long double factor = 1;
  volatile long double base = 10;
  for (m = m > 800 ? 800 : m; m != 0; m >>= 1) {
    if ((m & 1) != 0) factor = factor * base;
    base = base * base;
  }
  volatile long double scaled = n < 0 ? value / factor : value * factor;
  return static_cast<double>(scaled);
}

// A leading '-' negates; digits build the value (before the point) or add digit * place,
// the place a tenth of the last one (after it); a second point ends the text, and so does
// 'e' or 'E', whose rest is an integer text for the exponent; other bytes are skipped.
inline double StrToReal(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  double value = 0;
  double place = 1;
  bool fraction = false;
  Precision extended(3);
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c) && fraction) place = ExtendedStep(place, 0.1L, 0);
    if (IsDigit(c)) {
      value = fraction ? ExtendedStep(place, c - '0', value) : ExtendedStep(value, 10, c - '0');
    } else if (c == '.' && !fraction) {
      fraction = true;
    } else if (c == '.' || c == 'e' || c == 'E') {
      if (c != '.') value = Scale(value, StrToInt(text.substr(i + 1)));
      break;
    }
  }
  return negative ? -value : value;
}

// Fifteen digits by scaling with ten a step at a time in extended precision and rounding to
// nearest, ties to even; e digits stand before the point.
inline std::string RealToStr(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  Precision extended(3);
  volatile long double x = std::fabs(static_cast<long double>(v));
  int e = 15;
  const bool large = x >= 5e12L;
  for (; x < 5e12L; --e) x = x * 10;
  for (; large && x >= 1e13L; ++e) x = x / 10;
  for (; nearbyintl(x) < 1e14L; --e) x = x * 10;
  std::string s = std::to_string(static_cast<std::uint64_t>(nearbyintl(x)));
  const std::string sign = v < 0 ? "-" : "";
  if (e >= 15) return sign + s.append(static_cast<std::size_t>(e - 15), '0');
  if (e <= 0) s = "0." + std::string(static_cast<std::size_t>(-e), '0') + s;
  if (e > 0) s.insert(static_cast<std::size_t>(e), ".");
  s.erase(s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.pop_back();
  return sign + s;
}

}  // namespace model
