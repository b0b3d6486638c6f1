#include "message_loop.h"

#include <commctrl.h>

#include "control.h"
#include "event.h"
#include "win_element.h"

void StartApplication(TNdWin* mainForm) {
  if (AppControl != nullptr && mainForm != nullptr) AppControl->SetVisible(mainForm->Visible);
  InstallDispatchers();
  RunInitProcs();
}

bool ProcessOneMessage(TControl*) {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  const bool result = msg.message != WM_NULL;
  if (msg.message == WM_QUIT) {
    AppTerminated = true;
  } else {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result;
}

void ProcessPendingMessages(TControl* appControl) {
  while (ProcessOneMessage(appControl)) {
  }
}

void RunMessageLoop(TControl*& appControl) {
  AppRunning = true;
  AppControl = appControl;
  if (appControl != nullptr) appControl->CreateWindowHandle();
  while (!AppTerminated) {
    WaitMessage();
    ProcessPendingMessages(appControl);
  }
  if (appControl != nullptr) TerminateApp(appControl);
}

void TerminateApp(TControl*& appControl) {
  const bool wasTerminated = AppTerminated;
  AppTerminated = true;
  AppRunning = false;
  TControl* control = AppControl;
  AppControl = nullptr;
  if (control == nullptr) return;
  // The hold keeps the control alive through the close below, whatever its handlers free.
  control->AddRef();
  if (!wasTerminated) {
    ProcessPendingMessages(control);
    if (control->Handle != nullptr) SendMessageW(control->Handle, WM_CLOSE, 0, 0);
  }
  appControl = nullptr;
  control->Free();
  control->ReleaseRef();
}

void InitCommonControlsAll(DWORD mask) {
  InitCommonControls();
  // Loaded once and kept for the life of the process.
  static HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return;
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initEx =
      reinterpret_cast<InitEx>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  if (initEx == nullptr) return;
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), mask};
  initEx(&classes);
}
