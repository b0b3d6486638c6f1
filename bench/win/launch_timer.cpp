// Time from process start to its main window shown with its buttons, seen from outside the
// way an operator would: by polling the window list. Each program is then closed. Several
// programs take turns, so that they meet the same machine.
//   launch_timer.exe RUNS PROGRAM TITLE BUTTONS [PROGRAM TITLE BUTTONS]...
// Prints "TITLE: min MS median MS" per program; exit code 1 if a run saw no window.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

struct Search {
  DWORD process;
  const wchar_t* title;
  HWND found = nullptr;
  int buttons = 0;
};

bool isButton(HWND window) {
  wchar_t name[64] = {};
  std::wstring kind(name, static_cast<std::size_t>(GetClassNameW(window, name, 64)));
  for (auto& c : kind) c = static_cast<wchar_t>(std::towupper(c));
  return kind.size() >= 6 && kind.compare(kind.size() - 6, 6, L"BUTTON") == 0;
}

BOOL CALLBACK countButton(HWND child, LPARAM search) {
  if (IsWindowVisible(child) && isButton(child)) ++reinterpret_cast<Search*>(search)->buttons;
  return TRUE;
}

BOOL CALLBACK findWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (process != search->process || !IsWindowVisible(window) || wcscmp(title, search->title) != 0)
    return TRUE;
  search->found = window;
  search->buttons = 0;
  EnumChildWindows(window, countButton, param);
  return FALSE;
}

// Milliseconds until the window stood with its buttons, or a negative value.
double launchOnce(const std::wstring& program, const wchar_t* title, int buttons) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = nowMs();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return -1.0;
  double shown = -1.0;
  Search search{process.dwProcessId, title};
  while (nowMs() - start < 30000.0 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    search.found = nullptr;
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found && search.buttons >= buttons) {
      shown = nowMs() - start;
      break;
    }
    Sleep(1);
  }
  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5 || (argc - 2) % 3 != 0) {
    std::fprintf(stderr, "usage: launch_timer RUNS PROGRAM TITLE BUTTONS [PROGRAM TITLE BUTTONS]...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const int programs = (argc - 2) / 3;
  std::vector<std::vector<double>> times(static_cast<std::size_t>(programs));
  for (int run = 0; run < runs; ++run) {
    for (int p = 0; p < programs; ++p) {
      wchar_t** const program = argv + 2 + 3 * p;
      const double ms = launchOnce(program[0], program[1], _wtoi(program[2]));
      if (ms < 0) {
        std::fprintf(stderr, "launch_timer: %ls, run %d: no window with its buttons\n", program[1],
                     run + 1);
        return 1;
      }
      times[static_cast<std::size_t>(p)].push_back(ms);
    }
  }
  for (int p = 0; p < programs; ++p) {
    auto& t = times[static_cast<std::size_t>(p)];
    std::sort(t.begin(), t.end());
    std::printf("%ls: min %.1f median %.1f\n", argv[3 + 3 * p], t.front(), t[t.size() / 2]);
  }
  return 0;
}
