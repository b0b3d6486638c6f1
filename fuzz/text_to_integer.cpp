// Text to integer (StrToInt, and the typed-value roads ToInteger/ToIndex) on any bytes, and the
// integer-to-text road (IntToStr) read back.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert.h"
#include "data.h"
#include "fuzz_support.h"

using fuzz::Show;

namespace {

void CheckText(const std::string& text) {
  const std::int32_t value = StrToInt(text);
  FUZZ_CHECK(value == fuzz::ModelStrToInt(text),
             Show(text) + " gave " + std::to_string(value) + ", the model " +
                 std::to_string(fuzz::ModelStrToInt(text)));

  // A clean short number: the C library agrees after the documented wrap modulo 2^32.
  std::size_t digits = 0;
  const std::size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  while (start + digits < text.size() && fuzz::IsDigit(text[start + digits])) ++digits;
  if (digits > 0 && digits <= 18) {
    const std::string clean = text.substr(0, start + digits);
    const long long wide = std::strtoll(clean.c_str(), nullptr, 10);
    const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
    FUZZ_CHECK(value == wrapped, Show(text) + " gave " + std::to_string(value) + ", strtoll " +
                                      std::to_string(wide));
  }

  TData d;
  MakeString(d, text);
  FUZZ_CHECK(ToInteger(d) == value, Show(text));
  // data.cpp: a scan of 0 is an index only when the text starts with the digit 0.
  const std::int32_t index = value == 0 && (text.empty() || text[0] != '0') ? -1 : value;
  FUZZ_CHECK(ToIndex(d) == index, Show(text) + " index " + std::to_string(ToIndex(d)));
}

void CheckNumber(std::int32_t value, const std::string& tail) {
  const AnsiString text = IntToStr(value);
  FUZZ_CHECK(text == std::to_string(value), std::to_string(value) + " printed " + Show(text));
  FUZZ_CHECK(StrToInt(text) == value, std::to_string(value));
  // Whatever follows a number that does not start with a digit is ignored.
  if (tail.empty() || !fuzz::IsDigit(tail[0]))
    FUZZ_CHECK(StrToInt(text + tail) == value, std::to_string(value) + " + " + Show(tail));

  TData d;
  MakeInteger(d, value);
  FUZZ_CHECK(ToStr(d) == text, std::to_string(value));
  FUZZ_CHECK(ToInteger(d) == value && ToIndex(d) == value, std::to_string(value));
  FUZZ_CHECK(ToReal(d) == static_cast<double>(value), std::to_string(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckText(bytes);
  if (size >= 4) {
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    CheckNumber(value, bytes.substr(4));
  }
  return 0;
}
