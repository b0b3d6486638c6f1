#include "timer.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

constexpr wchar_t TimerClassName[] = L"obj_Timer";
constexpr std::int32_t DefaultInterval = 1000;

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// The whole process-wide state: how many timers exist, and the window they all tick on.
std::int32_t TimerCount = 0;
WindowHandle TimerWindow;

HWND EnsureTimerWindow() {
  if (TimerWindow) return TimerWindow.get();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(instance, TimerClassName, &windowClass)) {
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = TimerClassName;
    if (!RegisterClassW(&windowClass)) return nullptr;
  }
  TimerWindow.reset(CreateWindowExW(0, TimerClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, nullptr));
  return TimerWindow.get();
}

// The event identifier is the timer object itself.
void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  TTimer* timer = reinterpret_cast<TTimer*>(id);
  // Nothing may touch the timer after this call: the handler is allowed to free it.
  timer->OnTimer(timer);
}

}  // namespace

TTimer* CreateTimer(std::int32_t ms) { return new TTimer(ms); }

TTimer::TTimer(std::int32_t ms) : interval(ms > 0 ? ms : DefaultInterval) { ++TimerCount; }

TTimer::~TTimer() {
  SetEnabled(false);
  if (--TimerCount == 0) TimerWindow.reset();
}

void TTimer::SetInterval(std::int32_t ms) {
  if (ms == interval) return;
  interval = ms;
  if (enabled) {
    SetEnabled(false);
    SetEnabled(true);
  }
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled) return;
  enabled = value;
  const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
  if (value) {
    if (const HWND window = EnsureTimerWindow()) {
      timerId = SetTimer(window, id, static_cast<UINT>(interval), TimerProc);
    }
  } else {
    // The platform knows the timer by the identifier it was set with; what SetTimer returned for
    // a window timer only says that it succeeded.
    if (timerId != 0) KillTimer(TimerWindow.get(), id);
    timerId = 0;
  }
}
