#include <windows.h>

#include <string>

#include "control.h"
#include "text_codec.h"

void TControl::SetAutoSize(bool on) {
  if (on == AutoSize) return;
  AutoSize = on;
  if (on) FitToCaption();
}

// Measured on the screen DC so that a label can be sized before its window exists; the frame
// the styles add goes around the text.
void TControl::FitToCaption() {
  const std::wstring text = ToWide(GetCaption());
  TScreenDC screen;
  if (!screen.Get()) return;
  SIZE extent{0, 0};
  {
    TSelectGuard select(screen.Get(), Font()->ToolHandle());
    if (!GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()),
                               &extent))
      return;
  }
  RECT r{0, 0, extent.cx, extent.cy};
  AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
  SetSize(extent.cx > 0 ? r.right - r.left : 0, r.bottom - r.top);
}

void TControl::SetTextAlign(std::uint8_t align) {
  if (StdClassName != "STATIC") return;
  // The static kinds are a numbered field, not bits: the old alignment must go entirely.
  constexpr std::uint32_t alignStyles[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
  const std::uint32_t bits = align < 3 ? alignStyles[align] : SS_LEFT;
  SetStyle((Style & ~static_cast<std::uint32_t>(SS_TYPEMASK)) | bits);
}
