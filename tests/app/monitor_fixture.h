#pragma once
// The real monitor form built in this process, its main window left hidden (the start step that
// shows it is left out), and a watcher that answers the end-of-charge box as the operator would.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "com.h"
#include "control.h"
#include "event.h"
#include "message_loop.h"
#include "monitor_form.h"
#include "win_element.h"

class MonitorFormTest : public ::testing::Test {
protected:
  void SetUp() override { form = new TClassMainForm_1572310(); }
  void TearDown() override {
    Destroy();
    InitProcs.clear();
    MSG msg;
    for (int watchdog = 0; watchdog < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
         ++watchdog) {
    }
    AppTerminated = false;
  }

  // The program's order: the application control goes first, with every window, then the form.
  void Destroy() {
    RemoveDispatchers();
    TObj::Free(std::exchange(AppControl, nullptr));
    delete std::exchange(form, nullptr);
  }

  void Report(const AnsiString& text) { RaiseString(form->SerialPort->onRead, text); }

  static std::wstring Text(const TNdWin* element) {
    wchar_t text[1024] = {};
    SendMessageW(element->Control->Handle, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
  }

  static void Click(const TNdWin* element) {
    SendMessageW(element->Control->Handle, BM_CLICK, 0, 0);
  }

  // Runs the program's own message handling until done() holds; false if ten seconds passed.
  static bool PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!done()) {
      if (GetTickCount64() > deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      ProcessPendingMessages(AppControl);
    }
    return true;
  }

  TClassMainForm_1572310* form = nullptr;
};

// While it lives, every box of this thread captioned "Режим" is read and closed with its OK
// button by a thread timer, which the box's own message loop runs.
class TBoxWatcher {
public:
  TBoxWatcher() : timer_(SetTimer(nullptr, 0, 50, Tick)) { Current = this; }
  ~TBoxWatcher() { Stop(); }
  TBoxWatcher(const TBoxWatcher&) = delete;
  TBoxWatcher& operator=(const TBoxWatcher&) = delete;
  void Stop() {
    if (timer_) KillTimer(nullptr, std::exchange(timer_, 0));
  }

  int Seen = 0;
  std::wstring LastText;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND box = nullptr; (box = FindWindowExW(nullptr, box, L"#32770", L"Режим")) != nullptr;) {
      if (GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) continue;
      wchar_t text[256] = {};
      SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
      ++Current->Seen;
      Current->LastText = text;
      SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      return;
    }
  }

  static inline TBoxWatcher* Current = nullptr;
  UINT_PTR timer_;
};
