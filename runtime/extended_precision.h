#pragma once
// Arithmetic on long double keeps a 64-bit mantissa only while the x87 precision control says
// so, and a 64-bit Windows process may run with it at 53 bits. Code whose results depend on
// extended precision holds this guard for its own duration; the old control word goes back.
// Under it the x87 rounds to nearest, ties to even, so a conversion to integer rounds so too.

#include <cstdint>
#include <limits>

// The digits of real numbers are those of the x87 extended type (64-bit mantissa, 15-bit
// exponent); where long double is anything else (plain double, a 128-bit quad) they would
// quietly differ, so such a build stops here.
static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384,
              "long double must be the x87 80-bit extended type");

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
class ExtendedPrecision {
public:
  ExtendedPrecision() {
    __asm__ __volatile__("fnstcw %0" : "=m"(saved_) : : "memory");
    const auto extended = static_cast<std::uint16_t>((saved_ | 0x0300) & ~0x0C00);
    if (extended != saved_) __asm__ __volatile__("fldcw %0" : : "m"(extended) : "memory");
  }
  ~ExtendedPrecision() { __asm__ __volatile__("fldcw %0" : : "m"(saved_) : "memory"); }
  ExtendedPrecision(const ExtendedPrecision&) = delete;
  ExtendedPrecision& operator=(const ExtendedPrecision&) = delete;

private:
  std::uint16_t saved_ = 0;
};
#else
class ExtendedPrecision {};
#endif
