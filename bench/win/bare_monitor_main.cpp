#include <windows.h>

#include "bare_monitor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  BareMonitor monitor;
  if (!monitor.Create(instance, 0, 0)) return 1;
  monitor.endsMessageLoop = true;
  monitor.Show(SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(monitor.Window(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
