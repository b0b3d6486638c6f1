#include <windows.h>

#include "command_line_win.h"
#include "control.h"
#include "hint_manager.h"
#include "main_form.h"
#include "message.h"
#include "message_loop.h"
#include "monitor_form.h"
#include "text_codec.h"

namespace {

// The last unit initialisation: it runs even when the program only shows its information box.
void InitialiseUnits() {
  InitCommonControlsAll(0xFF);
  CreateDefaultHintManager();
}

void ShowChargeLogRefused(const AnsiString& path) {
  const AnsiString text = "Не удаётся записать журнал:\n" + path;
  MessageBoxW(MessageOwner(), ToWide(text).c_str(), ToWide("Журнал").c_str(), MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitialiseUnits();
  if (GetCommandLineParam(1) == "/ih") {
    MessageBoxW(nullptr, ToWide("Сделано в Nodra.").c_str(), ToWide("Nodra Info").c_str(), 0);
    return 0;
  }
  auto* form = new TClassMainForm_1572310();
  FormInstance = form;
  const AnsiString logPath = ChargeLogSwitch();
  const bool logRefused = !logPath.empty() && !form->AttachChargeLog(logPath);
  StartApplication(form->MainWindow);
  // Over the shown window, which then runs on without the log.
  if (logRefused) ShowChargeLogRefused(logPath);
  RunMessageLoop(AppControl);
  delete form;
  return 0;
}
