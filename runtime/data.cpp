#include "data.h"

#include <cmath>
#include <utility>

#include "convert.h"

const char* const TypeNames[TypeNameCount] = {
    "NULL",  "Integer", "String", "Data",    "Combo",  "StrList", "Icon",  "Real",
    "Color", "Script",  "Stream", "Bitmap",  "Wave",   "Array",   "ComboEx", "Font",
    "Matrix", "Jpeg",   "Menu",   "Code",    "Object", "Break",
};

void MakeNull(TData& d) {
  d.DataType = dtNull;
  d.NextEvent = nullptr;
  d.Next = nullptr;
}

void MakeInteger(TData& d, std::int32_t value) {
  d.DataType = dtInteger;
  d.IntValue = value;
  d.NextEvent = nullptr;
  d.Next = nullptr;
}

void MakeString(TData& d, AnsiString text) {
  d.DataType = dtString;
  d.StrValue = std::move(text);
  d.NextEvent = nullptr;
  d.Next = nullptr;
}

void MakeStream(TData& d, TStream* stream) {
  d.DataType = dtStream;
  d.StreamValue = stream;
  d.NextEvent = nullptr;
  d.Next = nullptr;
}

// Tags are compared as whole bytes: a record still marked as deferred matches nothing.
bool IsInteger(const TData& d) { return d.DataType == dtInteger; }
bool IsStream(const TData& d) { return d.DataType == dtStream; }

namespace {

// Nearest, ties to even, then the low 32 bits of the 64-bit result. A value with no 64-bit
// rounding (NaN, infinities, magnitudes from 2^63 on) gives 0 rather than an undefined cast.
std::int32_t roundRealToInt32(double value) {
  if (!std::isfinite(value)) return 0;
  double whole = std::floor(value);
  const double fraction = value - whole;  // exact for any double
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  constexpr double twoTo63 = 9223372036854775808.0;
  if (whole < -twoTo63 || whole >= twoTo63) return 0;
  const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(whole));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

}  // namespace

std::int32_t ToInteger(const TData& d) {
  switch (d.DataType) {
    case dtInteger: return d.IntValue;
    case dtString: return StrToInt(d.StrValue);
    case dtReal: return roundRealToInt32(d.RealValue);
    default: return 0;
  }
}

double ToReal(const TData& d) {
  switch (d.DataType) {
    case dtInteger: return static_cast<double>(d.IntValue);
    case dtString: return StrToReal(d.StrValue);
    case dtReal: return d.RealValue;
    default: return 0.0;
  }
}

AnsiString ToStr(const TData& d) {
  switch (d.DataType) {
    case dtInteger: return IntToStr(d.IntValue);
    case dtString: return d.StrValue;
    case dtReal: return RealToStr(d.RealValue);
    default: return AnsiString();
  }
}

std::int32_t ToIndex(const TData& d) {
  switch (d.DataType) {
    case dtInteger: return d.IntValue;
    case dtString: {
      const std::int32_t value = StrToInt(d.StrValue);
      // A scan of 0 is a number only when the text really starts with the digit 0.
      if (value == 0 && (d.StrValue.empty() || d.StrValue[0] != '0')) return -1;
      return value;
    }
    case dtReal: return roundRealToInt32(d.RealValue);
    default: return -1;
  }
}
