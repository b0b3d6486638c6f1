// Real to text (RealToStr) for any 64-bit pattern read as a double, NaNs, infinities and
// subnormals included, and the text read back with StrToReal.
//
// The text must be byte for byte the one of the step-by-step definition (the model in
// fuzz_support.h, run at its own extended precision whatever the caller set). Independently of
// the model, its digits are checked against the decimal value as glibc prints it: a step-by-step
// scaling makes at most 340 roundings of 2^-64 each, under 0.02 of a unit of the 15th digit, so
// the digits are the half-even 15-digit rounding except (a) within 0.02 of a unit of a tie, (b)
// the carry into the 15th digit, which stops one digit early (999999999999997.5 prints as
// 1000000000000000). An exact tie below 10^13 scales up without any rounding and must go to the
// even neighbour; above, the divisions by ten round and it may go either way.
//
// Read back, the text is only guaranteed to print the same when it is a whole number below 2^53
// (read exactly; the carry excepted): elsewhere the steps of text to real may move the
// last digit. What holds everywhere is checked instead: the read-back value is the definition's
// and lies within the error its steps allow of the text's decimal value.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert.h"
#include "fuzz_support.h"

namespace {

std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g (%a)", v, v);
  return buf;
}

// "-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?", not "-0", and with a fraction whenever it starts "0" or "-0".
bool WellFormed(const std::string& text) {
  std::size_t i = text[0] == '-' ? 1 : 0;
  const std::size_t wholeStart = i;
  while (i < text.size() && fuzz::IsDigit(text[i])) ++i;
  const std::size_t wholeLength = i - wholeStart;
  if (wholeLength == 0 || (wholeLength > 1 && text[wholeStart] == '0')) return false;
  if (i == text.size()) return text[wholeStart] != '0';
  if (text[i] != '.') return false;
  const std::size_t fractionStart = ++i;
  while (i < text.size() && fuzz::IsDigit(text[i])) ++i;
  return i == text.size() && i > fractionStart && text.back() != '0';
}

// The significant digits of a text RealToStr wrote.
std::string SignificantDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (fuzz::IsDigit(c)) digits += c;
  const std::size_t first = digits.find_first_not_of('0');
  const std::size_t last = digits.find_last_not_of('0');
  return first == std::string::npos ? "" : digits.substr(first, last - first + 1);
}

// A 15-digit text from 99999999999999.5 units up may print again as the next power of ten: the
// carry that rounds at 14 digits first (999999999999995 prints 1000000000000000).
bool Carry(const std::string& text, const std::string& again) {
  const std::string digits = SignificantDigits(text);
  return SignificantDigits(again) == "1" && digits.size() == 15 &&
         digits.compare(0, 14, std::string(14, '9')) == 0 && digits[14] >= '5' &&
         (text[0] == '-') == (again[0] == '-');
}

void CheckDigits(double value, const std::string& text) {
  // The value to 41 significant digits, D.DDD...e[+-]E, correctly rounded by glibc: enough to
  // place it within 10^-26 of a unit of the 15th digit, far inside the near-tie allowance.
  char exact[64];
  std::snprintf(exact, sizeof exact, "%.40Le", static_cast<long double>(std::fabs(value)));
  const char* ePos = std::strchr(exact, 'e');
  const int e10 = std::atoi(ePos + 1);
  std::string digits;
  for (const char* p = exact; p < ePos; ++p)
    if (*p != '.') digits += *p;
  std::uint64_t r15 = 0;
  for (int k = 0; k < 15; ++k) r15 = r15 * 10 + static_cast<std::uint64_t>(digits[k] - '0');
  const std::string tail = digits.substr(15);  // the rest, in units of the 15th digit
  const bool tailAboveHalf = tail[0] > '5' || (tail[0] == '5' && tail.find_first_not_of('0', 1) != std::string::npos);
  const bool tailHalf = tail[0] == '5' && tail.find_first_not_of('0', 1) == std::string::npos;
  std::uint64_t rounded = r15;
  if (tailAboveHalf || (tailHalf && (r15 & 1) != 0)) ++rounded;
  const int tail3 = std::atoi(tail.substr(0, 3).c_str());  // the tail in thousandths, cut

  // The product's digits: value = P * 10^k, P without leading or trailing zeros.
  std::string all;
  std::size_t point = std::string::npos;
  for (std::size_t i = text[0] == '-' ? 1 : 0; i < text.size(); ++i) {
    if (text[i] == '.') point = all.size();
    else all += text[i];
  }
  if (point == std::string::npos) point = all.size();
  const std::size_t first = all.find_first_not_of('0');
  const std::size_t last = all.find_last_not_of('0');
  const std::string p = all.substr(first, last - first + 1);
  const int k = static_cast<int>(point) - static_cast<int>(last) - 1;
  const std::string what = Num(value) + " printed " + text + ", exact " + exact;
  FUZZ_CHECK(p.size() <= 15, what);

  // In units of the exact value's 15th digit.
  const int q = k - e10 + 14;
  FUZZ_CHECK(q >= 0 && p.size() + static_cast<std::size_t>(q) <= 16, what);
  std::uint64_t units = std::strtoull(p.c_str(), nullptr, 10);
  for (int i = 0; i < q; ++i) units *= 10;

  if (units == rounded) return;
  // The early stop of a carry: from 999999999999994.98 units up the 14-digit rounding may
  // already reach 10^14.
  if (units == 1000000000000000ULL && (r15 >= 999999999999995ULL || (r15 == 999999999999994ULL && tail3 >= 980)))
    return;
  // An exact tie (16 significant digits, the last a 5) scaled up only by multiplications is
  // exact in 64 bits, so it must go to the even neighbour. Rare, so only then is the whole
  // expansion printed.
  if (tailHalf && std::fabs(value) < 1e13) {
    static char full[1000];
    std::snprintf(full, sizeof full, "%.780Le", static_cast<long double>(std::fabs(value)));
    std::string fullDigits;
    for (const char* c = full; *c != 'e'; ++c)
      if (*c != '.') fullDigits += *c;
    const bool exactTie = fullDigits[15] == '5' && fullDigits.find_first_not_of('0', 16) == std::string::npos;
    FUZZ_CHECK(!exactTie, what + " (an exact tie not rounded to even: units " + std::to_string(units) + ")");
  }
  // Near a tie: the tail is within 0.02 of a half and the product took the other neighbour.
  const bool nearTie = tail3 >= 480 && tail3 < 520;
  if (nearTie && (units == r15 || units == r15 + 1)) return;
  FUZZ_CHECK(false, what + " (units " + std::to_string(units) + ", 15-digit rounding " +
                        std::to_string(rounded) + ")");
}

void CheckReadBack(double value, const std::string& text) {
  const double back = StrToReal(text);
  const double model = fuzz::ModelStrToReal(text);
  const std::string what = Num(value) + " printed " + text + ", read back as " + Num(back);
  FUZZ_CHECK(std::memcmp(&back, &model, sizeof back) == 0, what + ", the definition " + Num(model));
  FUZZ_CHECK(!std::isnan(back), what);

  const fuzz::ReadBound bound = fuzz::ModelReadBound(text);
  if (bound.applies) {
    const long double distance = std::fabs(std::fabs(static_cast<long double>(back)) - bound.exact);
    FUZZ_CHECK(distance <= bound.relative * bound.exact, what + ", farther than its steps allow");
  }

  const std::string again = RealToStr(back);
  FUZZ_CHECK(again == fuzz::ModelRealToStr(back), what + " which prints " + again + ", the definition " +
                                                      fuzz::ModelRealToStr(back));
  const double decimal = std::strtod(text.c_str(), nullptr);
  if (text.find('.') == std::string::npos && std::fabs(decimal) <= 9007199254740992.0) {
    FUZZ_CHECK(back == decimal, what);
    FUZZ_CHECK(again == text || Carry(text, again), what + " which prints " + again);
  }
}

void Check(double value, bool callerAtDoublePrecision) {
#if defined(__x86_64__) || defined(__i386__)
  const std::uint16_t before = fuzz::X87ControlWord();
  const auto callers = static_cast<std::uint16_t>(callerAtDoublePrecision ? (before & ~0x0300) | 0x0200 : before);
  fuzz::SetX87ControlWord(callers);
  const std::string text = RealToStr(value);
  const std::uint16_t after = fuzz::X87ControlWord();
  const std::string model = fuzz::ModelRealToStr(value);
  fuzz::SetX87ControlWord(before);
  FUZZ_CHECK(after == callers, Num(value) + ": the caller's x87 control word was not restored");
#else
  (void)callerAtDoublePrecision;
  const std::string text = RealToStr(value);
  const std::string model = fuzz::ModelRealToStr(value);
#endif
  FUZZ_CHECK(text == model, Num(value) + " printed " + fuzz::Show(text) + ", the definition " + model);

  if (std::isnan(value)) {
    FUZZ_CHECK(text == "NAN", Num(value) + " printed " + text);
    return;
  }
  if (std::isinf(value)) {
    FUZZ_CHECK(text == (value < 0 ? "-INF" : "INF"), Num(value) + " printed " + text);
    return;
  }
  if (value == 0) {
    FUZZ_CHECK(text == "0", Num(value) + " printed " + text);
    return;
  }
  FUZZ_CHECK(!text.empty() && WellFormed(text) && (text[0] == '-') == (value < 0),
             Num(value) + " printed " + fuzz::Show(text));
  CheckDigits(value, text);
  CheckReadBack(value, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each 8 bytes are one double; a short last piece is padded with zero bytes. A first byte
  // with its low bit set runs every conversion with the caller's x87 unit at double precision.
  if (size == 0) return 0;
  const bool doublePrecision = (data[0] & 1) != 0;
  ++data;
  --size;
  for (std::size_t at = 0; at < size && at < 8 * 16; at += 8) {
    std::uint8_t bytes[8] = {};
    std::memcpy(bytes, data + at, size - at < 8 ? size - at : 8);
    double value;
    std::memcpy(&value, bytes, sizeof value);
    Check(value, doublePrecision);
  }
  return 0;
}
