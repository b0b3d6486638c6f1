#pragma once
// Text forms of numbers: locale-free, never failing.

#include <cstdint>

#include "data.h"

AnsiString IntToStr(std::int32_t value);
AnsiString RealToStr(double value);     // at most 15 significant digits, computed in 80-bit precision
std::int32_t StrToInt(const AnsiString& text);   // lenient; wraps modulo 2^32
double StrToReal(const AnsiString& text);        // lenient; skips what it does not know
