#include "color.h"

COLORREF ResolveColor(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFFu));
  // The high byte would make GDI read a palette index or palette-relative colour.
  return color & 0x00FFFFFFu;
}
