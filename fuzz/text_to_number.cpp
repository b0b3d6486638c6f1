// Any bytes as one text: text to integer and text to real, directly and as a typed value, against
// the models bit for bit, with the caller's x87 unit at double precision too; whole numbers of up
// to 15 digits exactly as the C library reads them.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "conversion_models.h"
#include "convert.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TData d;
  MakeString(d, text);
  const std::int32_t integer = StrToInt(text);
  FUZZ_CHECK(integer == model::StrToInt(text) && ToInteger(d) == integer);

  const double real = StrToReal(text);
  FUZZ_CHECK(model::Bits(real) == model::Bits(model::StrToReal(text)));
  FUZZ_CHECK(model::Bits(ToReal(d)) == model::Bits(real));
  if (size > 0 && size <= 15 && text.find_first_not_of("0123456789") == std::string::npos)
    FUZZ_CHECK(real == std::strtod(text.c_str(), nullptr));
  model::Precision caller(2);
  const std::uint16_t word = model::ControlWord();
  FUZZ_CHECK(model::Bits(StrToReal(text)) == model::Bits(real) && model::ControlWord() == word);
  return 0;
}
