#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// The real program, started with a raw command line: quotes given to Wine in a Linux argv come
// out escaped, so only CreateProcessW shows the program the quoted forms an operator types.
namespace {

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of(L"\\/") + 1) + L"vortane.exe";
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

class TProgram {
public:
  explicit TProgram(const std::wstring& arguments) {
    const std::wstring path = ProgramPath();
    std::wstring line = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_);
  }
  // A program that never ended is not left behind.
  ~TProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  bool Started() const { return started_; }

  // A visible top-level window of this process with that class (any when null) and caption.
  HWND Find(const wchar_t* className, const wchar_t* caption) const {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, className, caption)) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process_.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  // The monitor: the window captioned "VORTANE" that holds the button "цикл".
  HWND FindMonitor() const {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, L"VORTANE")) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process_.dwProcessId && IsWindowVisible(w) &&
          FindWindowExW(w, nullptr, nullptr, L"цикл"))
        return w;
    }
    return nullptr;
  }

  // Waits up to a minute for the window, or until the process ends.
  template <class Finder>
  HWND WaitFor(Finder find) const {
    for (int attempt = 0; attempt < 3000; ++attempt) {
      if (const HWND w = find()) return w;
      if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }

  struct TEnd {
    bool Exited = false;
    DWORD Code = 0;
    bool MonitorSeen = false;
  };
  // Waits up to a minute for the process to end, watching for the monitor meanwhile.
  TEnd WaitForExit() const {
    TEnd end;
    for (int attempt = 0; attempt < 3000 && !end.Exited; ++attempt) {
      end.MonitorSeen = end.MonitorSeen || FindMonitor() || Find(nullptr, L"VORTANE");
      end.Exited = WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0;
    }
    if (end.Exited) GetExitCodeProcess(process_.hProcess, &end.Code);
    return end;
  }

private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(VortaneProcess, InformationSwitchShowsItsBoxAndEndsWithCodeZeroWithoutTheMonitor) {
  for (const wchar_t* arguments : {L"/ih", L"\"/ih\"", L"\"\" /ih", L"/ih trailing"}) {
    SCOPED_TRACE(testing::Message() << L"arguments: " << arguments);
    TProgram program(arguments);
    ASSERT_TRUE(program.Started());
    const HWND box = program.WaitFor([&] { return program.Find(L"#32770", L"Nodra Info"); });
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"Сделано в Nodra.");
    EXPECT_EQ(program.Find(nullptr, L"VORTANE"), nullptr);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const TProgram::TEnd end = program.WaitForExit();
    EXPECT_TRUE(end.Exited);
    EXPECT_EQ(end.Code, 0u);
    EXPECT_FALSE(end.MonitorSeen);
  }
}

// Anything but the exact first parameter "/ih" starts the monitor, at 0, 0 and 1024 by 768;
// closing its window, or the end of the Windows session, ends the process with code 0.
TEST(VortaneProcess, OtherParametersStartTheMonitorAndBothWaysOfEndingItExitWithCodeZero) {
  struct TCase {
    const wchar_t* Arguments;
    UINT Msg;
    WPARAM wParam;
  };
  for (const TCase& c : {TCase{L"/IH", WM_CLOSE, 0}, TCase{L"-ih", WM_ENDSESSION, TRUE},
                         TCase{L"x /ih", WM_CLOSE, 0}, TCase{L"/\"ih\"", WM_ENDSESSION, TRUE}}) {
    SCOPED_TRACE(testing::Message() << L"arguments: " << c.Arguments);
    TProgram program(c.Arguments);
    ASSERT_TRUE(program.Started());
    const HWND monitor = program.WaitFor([&] { return program.FindMonitor(); });
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(program.Find(L"#32770", L"Nodra Info"), nullptr);
    RECT r;
    GetWindowRect(monitor, &r);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
              std::vector<LONG>({0, 0, 1024, 768}));
    PostMessageW(monitor, c.Msg, c.wParam, 0);
    const TProgram::TEnd end = program.WaitForExit();
    EXPECT_TRUE(end.Exited);
    EXPECT_EQ(end.Code, 0u);
  }
}

}  // namespace
