#include <windows.h>

#include "control.h"

namespace {

using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up at run time so the program still starts where user32 lacks it.
TSetLayeredWindowAttributes LookUpSetLayered() {
  HMODULE user = GetModuleHandleW(L"User32");
  if (!user) return nullptr;
  FARPROC proc = GetProcAddress(user, "SetLayeredWindowAttributes");
  // Through the generic function type: a direct cast between function types warns.
  return reinterpret_cast<TSetLayeredWindowAttributes>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace

void TControl::SetAlpha(std::uint8_t alpha) {
  if (alpha == Alpha) return;
  Alpha = alpha;
  const TSetLayeredWindowAttributes setLayered = LookUpSetLayered();
  if (!setLayered || !EnsureWindow()) return;
  if (alpha == 255) {
    SetExStyle(ExStyle & ~static_cast<std::uint32_t>(WS_EX_LAYERED));
    return;
  }
  SetExStyle(ExStyle | WS_EX_LAYERED);
  setLayered(Handle, 0, alpha, LWA_ALPHA);
}
