// The windows a GUI program shows, read from outside: per program, every top-level window of
// its process and every child of its main window (the one that shows buttons), in z-order from
// the top, with class, styles, rectangle in the parent's client area and text.
//   window_probe.exe PROGRAM NAME [PROGRAM NAME]...
// Lines "layout NAME main|other|child CLASS style=.. exstyle=.. rect=L,T,W,H client=WxH
// visible=0|1 text=\"...\"". Exit code 1 when a program shows no window with buttons.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

constexpr double StartLimitMs = 60000.0;

struct Collect {
  DWORD process;
  std::vector<HWND> windows;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
  auto* collect = reinterpret_cast<Collect*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == collect->process) collect->windows.push_back(window);
  return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD process) {
  Collect collect{process, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&collect));
  return collect.windows;
}

std::vector<HWND> childrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::wstring classOf(HWND window) {
  wchar_t name[128] = {};
  return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 128)));
}

// WM_GETTEXT: another process's edit answers with its text, not with a stored caption.
std::wstring textOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 5000, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

bool isButton(HWND window) {
  std::wstring kind = classOf(window);
  CharUpperW(kind.data());
  return kind.size() >= 6 && kind.compare(kind.size() - 6, 6, L"BUTTON") == 0;
}

// The visible top-level window of the process that holds visible buttons.
HWND mainWindowWithButtons(DWORD process) {
  for (HWND window : topLevelWindows(process)) {
    if (!IsWindowVisible(window)) continue;
    for (HWND child : childrenOf(window))
      if (IsWindowVisible(child) && isButton(child)) return window;
  }
  return nullptr;
}

void printUtf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  for (char& c : bytes)
    if (c == '\r' || c == '\n') c = ' ';
  std::fputs(bytes.c_str(), stdout);
}

void printWindow(const wchar_t* name, const char* kind, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  if (HWND parent = GetParent(window); parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  RECT client;
  GetClientRect(window, &client);
  std::printf("layout %ls %s ", name, kind);
  printUtf8(classOf(window));
  std::printf(" style=%08lX exstyle=%08lX rect=%ld,%ld,%ld,%ld client=%ldx%ld visible=%d text=\"",
              static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), r.left, r.top,
              r.right - r.left, r.bottom - r.top, client.right, client.bottom,
              IsWindowVisible(window) ? 1 : 0);
  printUtf8(textOf(window));
  std::printf("\"\n");
}

void printLayout(const wchar_t* name, DWORD process, HWND main) {
  for (HWND window : topLevelWindows(process))
    printWindow(name, window == main ? "main" : "other", window);
  for (HWND child : childrenOf(main)) printWindow(name, "child", child);
}

// Starts the program, waits for its main window with its buttons, prints the layout, closes it.
bool layoutOnce(const std::wstring& program, const wchar_t* name) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return false;
  HWND main = nullptr;
  const double start = nowMs();
  while (!main && nowMs() - start < StartLimitMs &&
         WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT)
    main = mainWindowWithButtons(process.dwProcessId);
  if (main) {
    printLayout(name, process.dwProcessId, main);
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return main != nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc % 2 != 1) {
    std::fprintf(stderr, "usage: window_probe PROGRAM NAME [PROGRAM NAME]...\n");
    return 2;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!layoutOnce(argv[i], argv[i + 1])) {
      std::fprintf(stderr, "window_probe: %ls showed no window with its buttons\n", argv[i + 1]);
      return 1;
    }
  }
  return 0;
}
