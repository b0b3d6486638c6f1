#include "font_rec.h"

#include <algorithm>

#include "text_codec.h"

TFontRec MakeFontRec(const AnsiString& name, std::uint8_t size, std::uint8_t style, TColor color,
                     std::uint8_t charSet) {
  return TFontRec{name, size, style, color, charSet};
}

int FontHeight(int points) {
  static const int pixelsPerInch = [] {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }();
  return FontHeightAt(points, pixelsPerInch);
}

LOGFONTW FontRecLogFont(const TFontRec& font) {
  LOGFONTW logFont{};
  const std::wstring face = ToWide(font.Name);
  const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), length, logFont.lfFaceName);
  logFont.lfHeight = FontHeight(font.Size);
  logFont.lfCharSet = font.CharSet;
  if (font.Style & FontStyleBold) logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = (font.Style & FontStyleItalic) ? 1 : 0;
  logFont.lfUnderline = (font.Style & FontStyleUnderline) ? 1 : 0;
  logFont.lfStrikeOut = (font.Style & FontStyleStrikeOut) ? 1 : 0;
  return logFont;
}

TGdiObject<HFONT> CreateFontFromRec(const TFontRec& font) {
  const LOGFONTW logFont = FontRecLogFont(font);
  return TGdiObject<HFONT>(CreateFontIndirectW(&logFont));
}
