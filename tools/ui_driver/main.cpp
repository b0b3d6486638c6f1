// ui-driver: drives a running monitor from another process, for the end-to-end tests and the
// demo. Exit code 0 on success, 1 when a window is missing or does not answer, 2 on bad usage.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "windows_find.h"

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;
constexpr DWORD WaitStepMs = 50;

const char Usage[] =
    "usage: ui-driver [--window CAPTION] COMMAND [ARGS]\n"
    "  --window CAPTION             the main window's caption (default VORTANE)\n"
    "  wait-window [--timeout MS]   wait until the main window is shown\n"
    "  click CAPTION                click the button with this caption\n"
    "  read-memos                   the voltage memo's text, then the temperature memo's\n"
    "  memo-bytes                   the same texts as Windows-1251 bytes in hex, two digits each\n"
    "  box [--caption C] [--press ok] [--timeout MS]\n"
    "                               wait for a message box, print its text, press OK\n"
    "  click-busy CAPTION           click a button of a program that may be busy for minutes\n"
    "  close                        ask the main window to close\n"
    "  endsession                   tell the main window that Windows shuts down\n"
    "  run \"COMMAND LINE\"           start a process with this raw command line, print its exit code\n"
    "  captions                     every caption of the main window and its controls\n"
    "  graph-rects                  screen rectangle of each graph's client area, top first\n"
    "Under a fast clock the waits end early: bound them on the caller's side.\n";

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

// Raw bytes through the handle: the C runtime would convert them to the console's code page.
void Write(DWORD stream, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Print(const std::wstring& line) { Write(STD_OUTPUT_HANDLE, ToUtf8(line) + "\n"); }

int Fail(const std::wstring& message) {
  Write(STD_ERROR_HANDLE, "ui-driver: " + ToUtf8(message) + "\n");
  return ExitFailed;
}

int BadUsage(const std::wstring& message) {
  Write(STD_ERROR_HANDLE, "ui-driver: " + ToUtf8(message) + "\n" + Usage);
  return ExitUsage;
}

// One line per text: control characters and the backslash are escaped.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\\') {
      out += L"\\\\";
    } else if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (c < 0x20 || c == 0x7F) {
      wchar_t hex[8];
      swprintf(hex, 8, L"\\x%02X", static_cast<unsigned>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// Back in the code page the program wrote the text in: the bytes it was given, to compare with
// the bytes the charger sent.
std::string Hex1251(const std::wstring& text) {
  std::string bytes;
  if (!text.empty()) {
    const int size = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(size > 0 ? size : 0));
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  }
  static constexpr char Digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) hex.append({Digits[c >> 4], Digits[c & 15]});
  return hex;
}

struct Options {
  std::vector<std::wstring> positional;
  std::map<std::wstring, std::wstring> named;
};

// "--name value" pairs and plain arguments; false on a name without its value.
bool ParseOptions(int first, int argc, wchar_t** argv, Options& options, std::wstring& error) {
  for (int i = first; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg.rfind(L"--", 0) == 0) {
      if (i + 1 >= argc) {
        error = arg + L": missing value";
        return false;
      }
      options.named[arg] = argv[++i];
    } else {
      options.positional.push_back(arg);
    }
  }
  return true;
}

// Attempts of one wait, each WaitStepMs apart: a count, so the wait ends even when the clock
// runs fast.
bool WaitAttempts(const Options& options, DWORD defaultMs, int& attempts, std::wstring& error) {
  DWORD ms = defaultMs;
  if (const auto it = options.named.find(L"--timeout"); it != options.named.end()) {
    wchar_t* end = nullptr;
    const unsigned long value = wcstoul(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != L'\0' || value > 3'600'000) {
      error = L"--timeout: expected milliseconds, got '" + it->second + L"'";
      return false;
    }
    ms = static_cast<DWORD>(value);
  }
  attempts = static_cast<int>(ms / WaitStepMs) + 1;
  return true;
}

template <typename Find>
HWND WaitFor(int attempts, Find find) {
  for (int i = 0; i < attempts; ++i) {
    if (HWND window = find()) return window;
    if (i + 1 < attempts) Sleep(WaitStepMs);
  }
  return nullptr;
}

HWND MainWindowOrNull(int& code) {
  HWND main = FindMainWindow();
  if (!main) code = Fail(L"no window " + MainCaption());
  return main;
}

int ClickButton(HWND button) {
  if (!SendWithin(button, BM_CLICK, 0, 0)) return Fail(L"the click was not handled in time");
  return 0;
}

int CmdWaitWindow(const Options& options) {
  int attempts = 0;
  std::wstring error;
  if (!WaitAttempts(options, 10000, attempts, error)) return BadUsage(error);
  if (!WaitFor(attempts, FindMainWindow)) return Fail(L"the window " + MainCaption() + L" did not appear");
  return 0;
}

int CmdClick(const Options& options) {
  if (options.positional.size() != 1) return BadUsage(L"click: expected one caption");
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  for (HWND button : ChildrenOfKind(main, ControlKind::Button)) {
    if (TextOf(button) == options.positional[0]) return ClickButton(button);
  }
  return Fail(L"no button '" + options.positional[0] + L"'");
}

int CmdReadMemos(bool hex) {
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  std::vector<HWND> memos = ChildrenOfKind(main, ControlKind::Edit);
  if (memos.size() != 2) return Fail(L"expected two memos, found " + std::to_wstring(memos.size()));
  // The voltage memo stands left of the temperature memo.
  const auto leftOf = [](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left;
  };
  std::sort(memos.begin(), memos.end(), [&](HWND a, HWND b) { return leftOf(a) < leftOf(b); });
  for (HWND memo : memos) {
    if (hex) {
      Write(STD_OUTPUT_HANDLE, Hex1251(TextOf(memo)) + "\n");
    } else {
      Print(Escaped(TextOf(memo)));
    }
  }
  return 0;
}

int CmdBox(const Options& options) {
  int attempts = 0;
  std::wstring error;
  if (!WaitAttempts(options, 10000, attempts, error)) return BadUsage(error);
  const auto caption = options.named.find(L"--caption");
  const std::wstring wanted = caption == options.named.end() ? L"" : caption->second;
  const auto press = options.named.find(L"--press");
  if (press != options.named.end() && press->second != L"ok")
    return BadUsage(L"--press: only 'ok' is known");

  HWND box = WaitFor(attempts, [&] { return FindBox(wanted); });
  if (!box) return Fail(L"no message box" + (wanted.empty() ? L"" : L" captioned '" + wanted + L"'"));
  std::wstring text;
  for (HWND child : ChildrenOfKind(box, ControlKind::Static)) text += TextOf(child);
  Print(Escaped(text));
  if (press == options.named.end()) return 0;

  HWND ok = GetDlgItem(box, IDOK);
  if (!ok) return Fail(L"the box has no OK button");
  if (const int clicked = ClickButton(ok)) return clicked;
  if (WaitFor(attempts, [&] { return IsWindow(box) ? nullptr : box; }) == nullptr)
    return Fail(L"the box stayed open after OK");
  return 0;
}

// Found without a message to the monitor: a busy monitor holds up only the click itself.
HWND FindButtonQuietly(HWND main, const std::wstring& caption) {
  for (HWND button : ChildrenOfKind(main, ControlKind::Button)) {
    if (StoredTextOf(button) == caption) return button;
  }
  return nullptr;
}

int CmdClickBusy(const Options& options) {
  if (options.positional.size() != 1) return BadUsage(L"click-busy: expected one caption");
  HWND main = FindMainWindowQuietly();
  if (!main) return Fail(L"no window " + MainCaption());
  HWND button = FindButtonQuietly(main, options.positional[0]);
  if (!button) return Fail(L"no button '" + options.positional[0] + L"'");
  // A read that gets no answer holds the program for the port's whole time-out, 540 s: the
  // click may wait for longer than that.
  constexpr UINT BusyTimeoutMs = 1'200'000;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, BusyTimeoutMs, &answer))
    return Fail(L"the click was not handled in time");
  return 0;
}

int CmdClose() {
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  if (!SendWithin(main, WM_CLOSE, 0, 0) && IsWindow(main)) return Fail(L"WM_CLOSE was not handled");
  return 0;
}

int CmdEndSession() {
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  // The program halts while handling the message, so the send itself may report a failure.
  if (!SendWithin(main, WM_ENDSESSION, TRUE, 0) && IsWindow(main))
    return Fail(L"WM_ENDSESSION was not handled");
  return 0;
}

int CmdRun(const Options& options) {
  if (options.positional.size() != 1) return BadUsage(L"run: expected one command line");
  std::wstring commandLine = options.positional[0];
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Fail(L"CreateProcessW failed with error " + std::to_wstring(GetLastError()));
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  Print(L"exit code " + std::to_wstring(exitCode));
  return 0;
}

int CmdCaptions() {
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  Print(TextOf(main));
  for (HWND child : ChildrenOf(main)) {
    const ControlKind kind = KindOf(child);
    if (!IsWindowVisible(child) || (kind != ControlKind::Button && kind != ControlKind::Static))
      continue;
    const std::wstring text = TextOf(child);
    if (!text.empty()) Print(text);
  }
  return 0;
}

int CmdGraphRects() {
  int code = 0;
  HWND main = MainWindowOrNull(code);
  if (!main) return code;
  std::vector<RECT> rects;
  for (HWND child : ChildrenOfKind(main, ControlKind::Static)) {
    RECT client{};
    if (!IsWindowVisible(child) || !GetClientRect(child, &client) || client.right < 100) continue;
    // Labels have text; the graphs are the large paint boxes without any.
    if (!TextOf(child).empty()) continue;
    POINT origin{0, 0};
    ClientToScreen(child, &origin);
    rects.push_back({origin.x, origin.y, client.right, client.bottom});
  }
  std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  for (const RECT& r : rects) {
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
          std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom));
  }
  return rects.empty() ? Fail(L"no graph found") : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Only matters when the output is a console; files and pipes get the bytes as they are.
  SetConsoleOutputCP(CP_UTF8);
  int at = 1;
  if (argc > 2 && std::wstring(argv[1]) == L"--window") {
    SetMainCaption(argv[2]);
    at = 3;
  }
  if (argc <= at) return BadUsage(L"no command");
  const std::wstring command = argv[at];
  if (command == L"--help" || command == L"-h") {
    Write(STD_OUTPUT_HANDLE, Usage);
    return 0;
  }
  Options options;
  std::wstring error;
  if (!ParseOptions(at + 1, argc, argv, options, error)) return BadUsage(error);

  const bool takesArguments =
      command == L"click" || command == L"run" || command == L"click-busy";
  const bool takesOptions = command == L"wait-window" || command == L"box";
  if (!takesArguments && !options.positional.empty())
    return BadUsage(command + L": unexpected argument '" + options.positional[0] + L"'");
  if (!takesOptions && !options.named.empty())
    return BadUsage(command + L": unexpected option '" + options.named.begin()->first + L"'");

  if (command == L"wait-window") return CmdWaitWindow(options);
  if (command == L"click") return CmdClick(options);
  if (command == L"read-memos") return CmdReadMemos(false);
  if (command == L"memo-bytes") return CmdReadMemos(true);
  if (command == L"click-busy") return CmdClickBusy(options);
  if (command == L"box") return CmdBox(options);
  if (command == L"close") return CmdClose();
  if (command == L"endsession") return CmdEndSession();
  if (command == L"run") return CmdRun(options);
  if (command == L"captions") return CmdCaptions();
  if (command == L"graph-rects") return CmdGraphRects();
  return BadUsage(L"unknown command '" + command + L"'");
}
