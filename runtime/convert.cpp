#include "convert.h"

#include <cmath>
#include <cstdint>

#include "extended_precision.h"

namespace {

// Nearest integer, ties to even, for 0 <= x < 2^63, whatever the current rounding mode.
std::uint64_t roundHalfEven(long double x) {
  const auto whole = static_cast<std::uint64_t>(x);
  const long double fraction = x - static_cast<long double>(whole);  // exact
  if (fraction > 0.5L || (fraction == 0.5L && (whole & 1) != 0)) return whole + 1;
  return whole;
}

struct Digits {
  std::uint64_t d;  // exactly 15 decimal digits, the first not zero
  int e;            // digits before the decimal point
};

// Kept out of line so that no extended arithmetic can be moved ahead of the precision guard.
[[gnu::noinline]] Digits fifteenDigits(long double x) {
  int e = 15;
  bool scaledUp = false;
  while (x < 5e12L) {
    x *= 10;
    --e;
    scaledUp = true;
  }
  if (!scaledUp) {
    while (x >= 1e13L) {
      x /= 10;
      ++e;
    }
  }
  std::uint64_t d = roundHalfEven(x);
  // Stops as soon as the rounded value has 15 digits, so a carry into the 15th digit
  // leaves one digit fewer of the value.
  while (d < 100000000000000ULL) {
    x *= 10;
    --e;
    d = roundHalfEven(x);
  }
  return {d, e};
}

}  // namespace

AnsiString IntToStr(std::int32_t value) {
  if (value == 0) return "0";
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0u - magnitude;
  char buffer[11];
  int pos = sizeof buffer;
  while (magnitude != 0) {
    buffer[--pos] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  AnsiString text(value < 0 ? "-" : "");
  text.append(buffer + pos, sizeof buffer - pos);
  return text;
}

AnsiString RealToStr(double value) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  Digits digits;
  {
    [[maybe_unused]] ExtendedPrecision guard;
    digits = fifteenDigits(std::fabs(static_cast<long double>(value)));
  }

  char s[15];
  std::uint64_t d = digits.d;
  for (int i = 14; i >= 0; --i) {
    s[i] = static_cast<char>('0' + d % 10);
    d /= 10;
  }

  AnsiString text(value < 0 ? "-" : "");
  const int e = digits.e;
  if (e >= 15) {
    text.append(s, 15);
    text.append(static_cast<std::size_t>(e - 15), '0');
    return text;
  }
  if (e <= 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-e), '0');
    text.append(s, 15);
  } else {
    text.append(s, static_cast<std::size_t>(e));
    text += '.';
    text.append(s + e, static_cast<std::size_t>(15 - e));
  }
  // The digits are not all zero, so trimming stops at a digit or at the point.
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::int32_t StrToInt(const AnsiString& text) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    i = 1;
  }
  // Unsigned arithmetic gives the wrap modulo 2^32 without signed overflow.
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

namespace {

// Squaring over the bits of n: a handful of steps whatever n is, exact up to 10^27.
long double powerOfTen(unsigned n) {
  long double result = 1.0L;
  long double base = 10.0L;
  while (n != 0) {
    if ((n & 1) != 0) result *= base;
    n >>= 1;
    if (n != 0) base *= base;
  }
  return result;
}

[[gnu::noinline]] double scaleInExtended(double value, unsigned magnitude, bool down) {
  // The extended range holds 10^800 and any scanned value times it, so the only rounding
  // to double is the last one, and subnormal results survive.
  const long double factor = powerOfTen(magnitude);
  const long double scaled = down ? value / factor : value * factor;
  return static_cast<double>(scaled);
}

double scaleByPowerOfTen(double value, std::int32_t exponent) {
  if (value == 0.0 || exponent == 0) return value;
  const bool down = exponent < 0;
  std::uint32_t magnitude = static_cast<std::uint32_t>(exponent);
  if (down) magnitude = 0u - magnitude;
  // A finite non-zero scanned value lies between about 1e-324 and 1e309, so 800 powers of
  // ten already reach zero or infinity: larger exponents cost nothing more.
  if (magnitude > 800) magnitude = 800;
  [[maybe_unused]] ExtendedPrecision guard;
  return scaleInExtended(value, magnitude, down);
}

// The scan's value and place value stay doubles between steps; each step is computed in
// extended precision and rounded to double only when it is stored.
struct Accumulator {
  double value = 0.0;
  double place = 1.0;
};

// Out of line and through memory, so that no step can move out from under the precision guard.
[[gnu::noinline]] void addWholeDigit(Accumulator& a, int digit) {
  a.value = static_cast<double>(static_cast<long double>(a.value) * 10 + digit);
}

[[gnu::noinline]] void addFractionDigit(Accumulator& a, int digit) {
  a.place = static_cast<double>(static_cast<long double>(a.place) * 0.1L);
  const long double term = digit * static_cast<long double>(a.place);  // exact in 64 bits
  a.value = static_cast<double>(static_cast<long double>(a.value) + term);
}

}  // namespace

double StrToReal(const AnsiString& text) {
  if (text.empty()) return 0.0;
  std::size_t i = 0;
  const bool negative = text[0] == '-';
  if (negative) i = 1;
  Accumulator a;
  bool inFraction = false;
  [[maybe_unused]] ExtendedPrecision guard;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      const int digit = c - '0';
      if (!inFraction) {
        addWholeDigit(a, digit);
      } else {
        addFractionDigit(a, digit);
      }
    } else if (c == '.') {
      if (inFraction) break;
      inFraction = true;
    } else if (c == 'E' || c == 'e') {
      a.value = scaleByPowerOfTen(a.value, StrToInt(text.substr(i + 1)));
      break;
    }
  }
  return negative ? -a.value : a.value;
}
