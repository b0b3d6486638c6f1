#pragma once
// The font description of windowed elements and tooltips, and the logical height of a point size.

#include <windows.h>

#include <cstdint>
#include <string>

#include "color.h"
#include "graphic_tool.h"

using AnsiString = std::string;  // Windows-1251 bytes

inline constexpr std::uint8_t FontStyleBold = 0x01;
inline constexpr std::uint8_t FontStyleItalic = 0x02;
inline constexpr std::uint8_t FontStyleUnderline = 0x04;
inline constexpr std::uint8_t FontStyleStrikeOut = 0x08;

struct TFontRec {
  AnsiString Name;
  std::uint8_t Size = 0;      // points
  std::uint8_t Style = 0;     // FontStyle* bits; higher bits are ignored
  TColor Color = 0;           // toolkit colour of the text
  std::uint8_t CharSet = 0;   // 1: the default character set
};

TFontRec MakeFontRec(const AnsiString& name, std::uint8_t size, std::uint8_t style, TColor color,
                     std::uint8_t charSet);

// -((points * dpi + 36) / 72): the pixel height rounded to the nearest pixel, negative so that
// the font mapper matches the character height rather than the cell height.
constexpr int FontHeightAt(int points, int pixelsPerInch) {
  return -((points * pixelsPerInch + 36) / 72);
}

// At the screen's vertical pixels per inch, read once for the whole run.
int FontHeight(int points);

// The face name is cut to what LOGFONT holds (31 characters).
LOGFONTW FontRecLogFont(const TFontRec& font);
TGdiObject<HFONT> CreateFontFromRec(const TFontRec& font);
