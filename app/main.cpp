#include <windows.h>

#include <string>

#include "command_line_win.h"
#include "control.h"
#include "hint_manager.h"
#include "main_form.h"
#include "message.h"
#include "message_loop.h"
#include "monitor_form.h"
#include "start_switches.h"
#include "text_codec.h"

namespace {

constexpr int ExitRefused = 2;

// The last unit initialisation: it runs even when the program only shows its information box.
void InitialiseUnits() {
  InitCommonControlsAll(0xFF);
  CreateDefaultHintManager();
}

void ShowRefusal(const TStartRefusal& refusal) {
  const std::wstring text = ToWide(refusal.Text) + refusal.Value;
  MessageBoxW(nullptr, text.c_str(), ToWide(refusal.Caption).c_str(), MB_OK);
}

void ShowChargeLogRefused(const std::wstring& path) {
  const std::wstring text = ToWide("Не удаётся записать журнал:\n") + path;
  MessageBoxW(MessageOwner(), text.c_str(), ToWide("Журнал").c_str(), MB_OK);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitialiseUnits();
  if (GetCommandLineParam(1) == "/ih") {
    MessageBoxW(nullptr, ToWide("Сделано в Nodra.").c_str(), ToWide("Nodra Info").c_str(), 0);
    return 0;
  }
  TStartChoices choices;
  if (const auto refusal = ReadStartSwitches(StartParams(), choices)) {
    ShowRefusal(*refusal);
    return ExitRefused;
  }
  auto* form = new TClassMainForm_1572310();
  FormInstance = form;
  if (choices.PortNumber != 0) form->ChoosePort(choices.PortNumber);
  const bool logRefused =
      !choices.LogPath.empty() && !form->AttachChargeLog(choices.LogPath);
  StartApplication(form->MainWindow);
  // Over the shown window, which then runs on without the log.
  if (logRefused) ShowChargeLogRefused(choices.LogPath);
  RunMessageLoop(AppControl);
  delete form;
  return 0;
}
