// Each 8 bytes after the first as a double, NaN, infinities and subnormals too, with the
// caller's x87 unit at double precision when the first byte is odd: real to text as the model
// writes it and within half a unit of its 15th digit (and the little the scaling by tens adds),
// the caller's control word back; read back, the model's value.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "conversion_models.h"
#include "convert.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  model::Precision caller(data[0] % 2 == 1 ? 2 : 3);
  const std::uint16_t word = model::ControlWord();
  for (std::size_t at = 1; at + 8 <= size; at += 8) {
    double value;
    std::memcpy(&value, data + at, sizeof value);
    const std::string text = RealToStr(value);
    FUZZ_CHECK(model::ControlWord() == word);
    FUZZ_CHECK(text == model::RealToStr(value));
    const long double decimal = std::strtold(text.c_str(), nullptr);
    FUZZ_CHECK(!std::isfinite(value) || std::fabs(decimal - value) <= 5.01e-15L * std::fabs(value));
    FUZZ_CHECK(model::Bits(StrToReal(text)) == model::Bits(model::StrToReal(text)));
  }
  return 0;
}
