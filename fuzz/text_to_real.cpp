// Text to real (StrToReal and ToReal of a string) on any bytes: bit for bit the result of the
// step-by-step definition (the model in fuzz_support.h), never NaN, the documented leniency, the
// sign, the caller's x87 precision without effect, and, independently of the model, within the
// error that its steps can make of the text's decimal value.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert.h"
#include "data.h"
#include "fuzz_support.h"

using fuzz::IsDigit;
using fuzz::Show;

namespace {

std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g (%a)", v, v);
  return buf;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// What the scan gives meaning to: a '-' only as the very first byte; digits; one decimal point
// (a second one ends the number); 'e' or 'E' ends the mantissa, and the rest is an integer text,
// here written back as the integer it reads as. Every other byte is skipped, so the text keeping
// only these must read the same.
std::string Significant(const std::string& text) {
  std::string kept;
  std::size_t i = 0;
  if (!text.empty() && text[0] == '-') {
    kept += '-';
    i = 1;
  }
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      kept += c;
    } else if (c == '.') {
      if (point) break;
      point = true;
      kept += c;
    } else if (c == 'e' || c == 'E') {
      kept += c + std::to_string(fuzz::ModelStrToInt(text.substr(i + 1)));
      break;
    }
  }
  return kept;
}

void CheckText(const std::string& text) {
  const double value = StrToReal(text);
  const double model = fuzz::ModelStrToReal(text);
  FUZZ_CHECK(SameBits(value, model), Show(text) + " gave " + Num(value) + ", the definition " + Num(model));
  FUZZ_CHECK(!std::isnan(value), Show(text));

  TData d;
  MakeString(d, text);
  const double typed = ToReal(d);
  FUZZ_CHECK(SameBits(typed, value), Show(text) + " as a typed value gave " + Num(typed));

  const std::string kept = Significant(text);
  const double keptValue = StrToReal(kept);
  FUZZ_CHECK(SameBits(keptValue, value), Show(text) + " gave " + Num(value) + ", its significant bytes " +
                                             Show(kept) + " gave " + Num(keptValue));

  // A leading '-' negates; a second one is skipped like any other.
  const double withMinus = StrToReal("-" + text);
  const double expected = !text.empty() && text[0] == '-' ? value : -value;
  FUZZ_CHECK(SameBits(withMinus, expected), Show(text) + " gave " + Num(value) + ", with '-' " + Num(withMinus));

#if defined(__x86_64__) || defined(__i386__)
  // The steps are extended; a caller at double precision must change nothing.
  {
    const std::uint16_t before = fuzz::X87ControlWord();
    const auto callers = static_cast<std::uint16_t>((before & ~0x0300) | 0x0200);
    fuzz::SetX87ControlWord(callers);
    const double atDouble = StrToReal(text);
    const std::uint16_t after = fuzz::X87ControlWord();
    fuzz::SetX87ControlWord(before);
    FUZZ_CHECK(after == callers, Show(text) + ": the caller's x87 control word was not restored");
    FUZZ_CHECK(SameBits(atDouble, value),
               Show(text) + " gave " + Num(value) + ", with the caller at double precision " + Num(atDouble));
  }
#endif

  const fuzz::ReadBound bound = fuzz::ModelReadBound(text);
  if (bound.applies) {
    const long double distance = std::fabs(std::fabs(static_cast<long double>(value)) - bound.exact);
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.21Lg", bound.exact);
    FUZZ_CHECK(distance <= bound.relative * bound.exact,
               Show(text) + " gave " + Num(value) + ", farther than its steps allow from " + exact);
  }

  // Whole numbers are exact while the double holds every integer (2^53).
  bool whole = !text.empty();
  for (std::size_t i = text[0] == '-' ? 1 : 0; whole && i < text.size(); ++i) whole = IsDigit(text[i]);
  if (whole && text != "-") {
    const double reference = std::strtod(text.c_str(), nullptr);
    if (std::fabs(reference) <= 9007199254740992.0)
      FUZZ_CHECK(SameBits(value, reference), Show(text) + " gave " + Num(value) + ", strtod " + Num(reference));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckText(bytes);
  if (size >= 4) {
    std::int32_t number;
    std::memcpy(&number, data, sizeof number);
    FUZZ_CHECK(StrToReal(IntToStr(number)) == static_cast<double>(number), std::to_string(number));
  }
  return 0;
}
