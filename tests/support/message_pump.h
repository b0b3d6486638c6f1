#pragma once
// Runs the message loop until done() holds, showing seen() each message first. A thread timer of
// its own is the watchdog, so a loop that never gets there fails instead of hanging the run.

#include <windows.h>

#include <functional>

inline bool PumpUntil(const std::function<bool()>& done,
                      const std::function<void(const MSG&)>& seen = {}) {
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, nullptr);
  MSG msg;
  while (watchdog != 0 && !done() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == WM_TIMER && msg.wParam == watchdog) break;
    if (seen) seen(msg);
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, watchdog);
  return done();
}
