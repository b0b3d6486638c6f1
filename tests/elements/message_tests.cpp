#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "control.h"
#include "message.h"
#include "probes.h"
#include "window_facts.h"

namespace {

struct TBoxSeen {
  bool Found = false;
  std::wstring Text;
  std::vector<int> Buttons;  // the visible ones among IDOK..IDNO
  bool HasIcon = false;
  HWND Owner = nullptr;
};

// From another thread, as the operator would: waits up to thirty seconds for this thread's
// box titled "Режим" (programs sharing the Wine server may show boxes of that title), reads it,
// then posts the key or command. A box that never shows leaves Found false; one under another
// title is closed anyway, so the test fails instead of hanging.
std::thread CloseBoxLater(UINT msg, WPARAM wParam, TBoxSeen& seen) {
  return std::thread([=, &seen, boxThread = GetCurrentThreadId()] {
    const auto findBox = [](HWND w, LPARAM found) -> BOOL {
      wchar_t name[16] = {}, title[16] = {};
      GetClassNameW(w, name, 16);
      InternalGetWindowText(w, title, 16);
      if (std::wstring(name) != L"#32770" || std::wstring(title) != L"Режим" || !IsWindowVisible(w))
        return TRUE;
      *reinterpret_cast<HWND*>(found) = w;
      return FALSE;
    };
    HWND box = nullptr;
    for (int attempt = 0; attempt < 3000 && !box; ++attempt, Sleep(10))
      EnumThreadWindows(boxThread, findBox, reinterpret_cast<LPARAM>(&box));
    if (!box) {
      EnumThreadWindows(boxThread, [](HWND w, LPARAM) { return PostMessageW(w, WM_CLOSE, 0, 0); }, 0);
      return;
    }
    seen.Found = true;
    seen.Text = WindowText(GetDlgItem(box, 0xFFFF));
    for (int id = IDOK; id <= IDNO; ++id)
      if (IsWindowVisible(GetDlgItem(box, id))) seen.Buttons.push_back(id);
    seen.HasIcon = SendMessageW(GetDlgItem(box, 0x0440), STM_GETICON, 0, 0) != 0;
    seen.Owner = GetWindow(box, GW_OWNER);
    PostMessageW(box, msg, wParam, 0);
  });
}

class MessageTest : public DispatchTest {
protected:
  void SetUp() override {
    DispatchTest::SetUp();
    for (TProbe* probe : {&result, &ok, &cancel, &no}) probe->Log = &log;
    result.Name = "result", ok.Name = "ok", cancel.Name = "cancel", no.Name = "no";
    box.onResult = result.Link();
    box.onOk = ok.Link();
    box.onCancel = cancel.Link();
    box.onNo = no.Link();
    box.Text = "Заряд окончен!";
    box.Caption = "Режим";
  }
  // Through the dispatcher, as a link would call it, so the deferred output is followed.
  int Trigger(UINT msg, WPARAM wParam, TData data = {}) {
    std::thread closer = CloseBoxLater(msg, wParam, seen);
    CallEventProc(MakeEvent<&TNdMessage::doMessage>(&box, 0), data);
    closer.join();
    EXPECT_TRUE(seen.Found);
    return result.Received.empty() ? -1 : result.Received[0].IntValue;
  }

  TNdMessage box;
  TProbe result, ok, cancel, no;
  std::vector<std::string> log;
  TBoxSeen seen;
};

TEST_F(MessageTest, ButtonsIconTextAndTheOutputOfEachAnswer) {
  const struct {
    int buttons, icon;  // -1: the element's defaults
    const char* text;   // shown rather than the arriving string, unless empty
    UINT msg;
    WPARAM key;
    int result;
    std::vector<int> shown;
    bool hasIcon;
    const char* output;
  } cases[] = {
      {-1, -1, "Заряд окончен!", WM_COMMAND, IDOK, IDOK, {IDOK}, false, "ok"},
      {2, 2, "Заряд окончен!", WM_COMMAND, IDNO, IDNO, {IDYES, IDNO}, true, "no"},
      {3, 0, "Заряд окончен!", WM_KEYDOWN, VK_ESCAPE, IDCANCEL, {IDCANCEL, IDYES, IDNO}, false,
       "cancel"},
      {9, 7, "", WM_COMMAND, IDOK, IDOK, {IDOK}, false, "ok"},  // selectors add nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttons);
    if (c.buttons >= 0) box.Buttons = static_cast<std::uint8_t>(c.buttons);
    if (c.icon >= 0) box.Icon = static_cast<std::uint8_t>(c.icon);
    box.Text = c.text;
    log.clear();
    result.Received.clear();
    seen = TBoxSeen();
    EXPECT_EQ(Trigger(c.msg, c.key, StringData("Ёмкость: 1200")), c.result);
    EXPECT_EQ(seen.Text, *c.text ? L"Заряд окончен!" : L"Ёмкость: 1200");
    EXPECT_EQ(seen.Buttons, c.shown);
    EXPECT_EQ(seen.HasIcon, c.hasIcon);
    EXPECT_EQ(seen.Owner, nullptr);
    std::vector<std::string> outputs;  // in order, without the texts they carried
    for (const std::string& entry : log) outputs.push_back(entry.substr(0, entry.find(':')));
    EXPECT_EQ(outputs, (std::vector<std::string>{"result", c.output}));
  }
}

TEST_F(MessageTest, BoxBelongsToTheRecordedFormElseToTheFirstChildsWindow) {
  TOwned<TControl> app(CreateApplicationControl("app"));
  TControl* first = CreateFormControl(app.get(), "first");
  TControl* second = CreateFormControl(app.get(), "second");
  // Hidden: under Wine without a window manager every shown window takes seconds to close.
  first->SetVisible(false);
  second->SetVisible(false);
  ASSERT_TRUE(first->EnsureWindow() && second->EnsureWindow());
  AppControl = app.get();
  app->CurrentForm = nullptr;
  EXPECT_EQ(MessageOwner(), first->Handle);
  app->CurrentForm = second;
  Trigger(WM_COMMAND, IDOK);
  AppControl = nullptr;
  EXPECT_EQ(seen.Owner, second->Handle);
}

}  // namespace
