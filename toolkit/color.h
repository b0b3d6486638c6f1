#pragma once
// Toolkit colour values: 0x00BBGGRR, or, with the top bit set, a system colour whose index is
// the low byte (0x8000000F and 0xFF00000F both name the button face).

#include <windows.h>

#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor SystemColorFlag = 0x80000000u;

constexpr TColor SystemColor(int index) {
  return SystemColorFlag | (static_cast<TColor>(index) & 0xFFu);
}

inline constexpr TColor ColorButtonFace = SystemColor(COLOR_BTNFACE);    // 0x8000000F
inline constexpr TColor ColorWindowText = SystemColor(COLOR_WINDOWTEXT); // 0x80000008

constexpr bool IsSystemColor(TColor color) { return (color & SystemColorFlag) != 0; }

// The RGB value a GDI object or a DC colour is made with, read at the moment of the call.
COLORREF ResolveColor(TColor color);
