#pragma once
// What every fuzz target shares: a check that stops the run with a readable message (libFuzzer
// then keeps the input as a crash artifact), and reference models written from the headers'
// documentation and the conversions' step-by-step definitions, independent of the product code
// they are compared with.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond, what)                                                               \
  do {                                                                                       \
    if (!(cond)) {                                                                           \
      std::fprintf(stderr, "FUZZ_CHECK failed at %s:%d: %s\n  %s\n", __FILE__, __LINE__, #cond, \
                   std::string(what).c_str());                                               \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

namespace fuzz {

// Bytes in C escapes, for the messages.
inline std::string Show(const std::string& bytes, std::size_t limit = 200) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  if (bytes.size() > limit) out += "...";
  return out + "\" (" + std::to_string(bytes.size()) + " bytes)";
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// convert.h: "lenient; wraps modulo 2^32": one optional sign at the very start, then the
// longest run of decimal digits; anything after it is ignored.
inline std::int32_t ModelStrToInt(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  std::uint64_t value = 0;  // kept below 2^32
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = (value * 10 + static_cast<std::uint64_t>(text[i] - '0')) % 4294967296ULL;
  if (negative) value = (4294967296ULL - value) % 4294967296ULL;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

#if defined(__x86_64__) || defined(__i386__)
inline std::uint16_t X87ControlWord() {
  std::uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word) : : "memory");
  return word;
}
inline void SetX87ControlWord(std::uint16_t word) { __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory"); }

// The models' own 64-bit precision, not the product's guard: a guard that failed to set it
// would then show as a difference.
class X87Extended {
public:
  X87Extended() : saved_(X87ControlWord()) { SetX87ControlWord(static_cast<std::uint16_t>(saved_ | 0x0300)); }
  ~X87Extended() { SetX87ControlWord(saved_); }
  X87Extended(const X87Extended&) = delete;
  X87Extended& operator=(const X87Extended&) = delete;

private:
  std::uint16_t saved_;
};
#else
class X87Extended {};
#endif

// The exponent scaling of text to real: 10^n by squaring over the bits of n (capped at 800),
// then one multiplication or division, all in extended precision, rounded once to double.
// Volatile so that no extended step is moved ahead of the precision setting.
[[gnu::noinline]] inline double ModelScaleExtended(double value, std::uint32_t magnitude, bool down) {
  volatile long double factor = 1.0L;
  volatile long double base = 10.0L;
  for (std::uint32_t n = magnitude; n != 0; n >>= 1) {
    if ((n & 1) != 0) factor = factor * base;
    if ((n >> 1) != 0) base = base * base;
  }
  const long double v = value;
  volatile long double scaled = down ? v / factor : v * factor;
  return static_cast<double>(scaled);
}

inline double ModelScale(double value, std::int32_t n) {
  if (n == 0) return value;
  std::uint32_t magnitude = static_cast<std::uint32_t>(n);
  if (n < 0) magnitude = 0u - magnitude;
  if (magnitude > 800) magnitude = 800;
  [[maybe_unused]] X87Extended precision;
  return ModelScaleExtended(value, magnitude, n < 0);
}

// One step of text to real: a * b + c in extended precision, rounded to double only at the end.
[[gnu::noinline]] inline double ModelExtendedStep(double a, long double b, long double c) {
  volatile long double product = a * b;
  volatile long double sum = product + c;
  return static_cast<double>(sum);
}

// Text to real, a character at a time; the value and the place value are doubles between steps.
inline double ModelStrToReal(const std::string& text) {
  if (text.empty()) return 0.0;
  const bool negative = text[0] == '-';
  double value = 0.0;
  double place = 1.0;
  bool fraction = false;
  [[maybe_unused]] X87Extended precision;
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      const long double digit = c - '0';
      if (!fraction) {
        value = ModelExtendedStep(value, 10, digit);
      } else {
        place = ModelExtendedStep(place, 0.1L, 0);
        value = ModelExtendedStep(place, digit, value);
      }
    } else if (c == '.') {
      if (fraction) break;
      fraction = true;
    } else if (c == 'e' || c == 'E') {
      value = ModelScale(value, ModelStrToInt(text.substr(i + 1)));
      break;
    }
  }
  return negative ? -value : value;
}

struct ModelDigits {
  std::uint64_t d;  // 15 digits
  int e;
};

// Real to text, steps 3 to 5: scaled by ten one step at a time in extended precision, rounded
// to nearest with ties to even, scaled again while the rounded value has fewer than 15 digits.
[[gnu::noinline]] inline ModelDigits ModelFifteenDigits(long double magnitude) {
  volatile long double x = magnitude;
  int e = 15;
  bool changed = false;
  while (x < 5e12L) {
    x = x * 10;
    --e;
    changed = true;
  }
  if (!changed) {
    while (x >= 1e13L) {
      x = x / 10;
      ++e;
    }
  }
  long double rounded = nearbyintl(x);
  while (rounded < 1e14L) {
    x = x * 10;
    --e;
    rounded = nearbyintl(x);
  }
  return {static_cast<std::uint64_t>(rounded), e};
}

inline std::string ModelRealToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  ModelDigits digits;
  {
    [[maybe_unused]] X87Extended precision;
    digits = ModelFifteenDigits(std::fabs(static_cast<long double>(value)));
  }
  const std::string s = std::to_string(digits.d);
  const int e = digits.e;
  std::string text;
  if (e >= 15) {
    text = s + std::string(static_cast<std::size_t>(e - 15), '0');
  } else {
    if (e <= 0) {
      text = "0." + std::string(static_cast<std::size_t>(-e), '0') + s;
    } else {
      text = s.substr(0, static_cast<std::size_t>(e)) + "." + s.substr(static_cast<std::size_t>(e));
    }
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return value < 0 ? "-" + text : text;
}

// How far text to real may land from the decimal value the text stands for, by error analysis
// alone: each double operation rounds with a relative error of at most 2^-53, and with the
// operands all of one sign, I integer digits and F fraction digits give at most 2I + 2F + 2 such
// factors; the extended scaling adds less than one more, the final rounding one. Only where
// nothing underflows or overflows: at most 300 digits on each side of the point, and a value
// between 1e-300 and 1e300.
struct ReadBound {
  bool applies = false;
  long double exact = 0;     // the text's value, correctly rounded to extended (2^-64)
  long double relative = 0;  // the largest relative distance allowed from it
};

inline ReadBound ModelReadBound(const std::string& text) {
  ReadBound bound;
  if (text.empty()) return bound;
  std::string whole, fraction;
  std::int32_t exponent = 0;
  bool inFraction = false;
  for (std::size_t i = text[0] == '-' ? 1 : 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      (inFraction ? fraction : whole) += c;
    } else if (c == '.') {
      if (inFraction) break;
      inFraction = true;
    } else if (c == 'e' || c == 'E') {
      exponent = ModelStrToInt(text.substr(i + 1));
      break;
    }
  }
  if (whole.size() > 300 || fraction.size() > 300) return bound;
  const std::string decimal = "0" + whole + "." + fraction + "0e" + std::to_string(exponent);
  bound.exact = std::strtold(decimal.c_str(), nullptr);
  if (bound.exact != 0 && (bound.exact < 1e-300L || bound.exact > 1e300L)) return bound;
  const long double u = 0x1p-53L;
  const long double n = 2.0L * static_cast<long double>(whole.size() + fraction.size()) + 4;
  bound.relative = n * u / (1 - n * u) + 0x1p-63L;
  bound.applies = true;
  return bound;
}

// insert_delete.h: 1-based positions clamped to the string; an empty text inserts nothing.
inline std::string ModelInsert(const std::string& dest, const std::string& text, std::int64_t pos) {
  if (text.empty()) return dest;
  const auto length = static_cast<std::int64_t>(dest.size());
  if (pos < 1) pos = 1;
  if (pos > length + 1) pos = length + 1;
  const auto at = static_cast<std::size_t>(pos - 1);
  return dest.substr(0, at) + text + dest.substr(at);
}

// insert_delete.h and its tests: a run that starts outside the string, or a count below 1,
// deletes nothing; a run past the end is clipped at the end.
inline std::string ModelDelete(const std::string& source, std::int64_t pos, std::int64_t count) {
  const auto length = static_cast<std::int64_t>(source.size());
  if (pos < 1 || pos > length || count < 1) return source;
  const std::int64_t end = pos - 1 + count < length ? pos - 1 + count : length;  // exclusive
  return source.substr(0, static_cast<std::size_t>(pos - 1)) + source.substr(static_cast<std::size_t>(end));
}

}  // namespace fuzz
