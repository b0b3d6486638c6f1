#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "control.h"
#include "message.h"
#include "probes.h"

namespace {

struct TBoxSeen {
  bool Found = false;
  std::wstring Text;
  std::vector<int> Buttons;  // the visible ones among IDOK..IDNO
  bool HasIcon = false;
  HWND Owner = nullptr;
};

// From another thread, as the operator would: waits up to about five seconds for the box titled
// "Режим", reads it, then posts the key or command. A box that never shows leaves Found false;
// one under another title is closed anyway, so the test fails instead of hanging.
std::thread CloseBoxLater(UINT msg, WPARAM wParam, TBoxSeen& seen) {
  return std::thread([=, &seen, boxThread = GetCurrentThreadId()] {
    HWND box = nullptr;
    for (int attempt = 0; attempt < 500 && !(box && IsWindowVisible(box)); ++attempt, Sleep(10))
      box = FindWindowW(L"#32770", L"Режим");
    if (!box) {
      EnumThreadWindows(boxThread, [](HWND w, LPARAM) { return PostMessageW(w, WM_CLOSE, 0, 0); }, 0);
      return;
    }
    seen.Found = true;
    wchar_t text[256] = {};
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    seen.Text = text;
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

TEST_F(MessageTest, DefaultsShowAPlainCyrillicOkBoxAndReportOkAfterTheResult) {
  EXPECT_EQ(Trigger(WM_COMMAND, IDOK), IDOK);
  EXPECT_EQ(seen.Text, L"Заряд окончен!");
  EXPECT_EQ(seen.Buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(seen.HasIcon);
  EXPECT_EQ(seen.Owner, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"result:", "ok:"}));
}

TEST_F(MessageTest, ButtonsTwoIsYesNoAndNoReportsSeven) {
  box.Buttons = 2;
  box.Icon = 2;
  EXPECT_EQ(Trigger(WM_COMMAND, IDNO), IDNO);
  EXPECT_EQ(seen.Buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_TRUE(seen.HasIcon);
  EXPECT_EQ(log, (std::vector<std::string>{"result:", "no:"}));
}

TEST_F(MessageTest, EscapeClosesYesNoCancelAsCancel) {
  box.Buttons = 3;
  EXPECT_EQ(Trigger(WM_KEYDOWN, VK_ESCAPE), IDCANCEL);
  EXPECT_EQ(seen.Buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
  EXPECT_EQ(log, (std::vector<std::string>{"result:", "cancel:"}));
}

TEST_F(MessageTest, SelectorsOutOfRangeAddNothingAndAnEmptyTextTakesTheArrivingString) {
  box.Buttons = 9;
  box.Icon = 7;
  box.Text = "";
  EXPECT_EQ(Trigger(WM_COMMAND, IDOK, StringData("Ёмкость: 1200")), IDOK);
  EXPECT_EQ(seen.Text, L"Ёмкость: 1200");
  EXPECT_EQ(seen.Buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(seen.HasIcon);
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
