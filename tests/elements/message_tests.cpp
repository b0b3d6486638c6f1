#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "message.h"
#include "probes.h"
#include "window_facts.h"

namespace {

std::wstring seenCaption, seenText;

// A thread timer, so it runs inside the box's own modal loop: reads the box of this thread,
// then answers it with OK as the operator would.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  const auto findBox = [](HWND w, LPARAM found) -> BOOL {
    wchar_t name[8] = {};
    GetClassNameW(w, name, 8);
    if (std::wstring(name) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  };
  EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, timer);
  seenCaption = WindowText(box);
  seenText = WindowText(GetDlgItem(box, 0xFFFF));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

using Message = DispatchTest;

TEST_F(Message, ShowsItsTextUnderItsCaptionThenReportsTheCodeAndTheButton) {
  TNdMessage box;
  TProbe result, ok;
  std::vector<std::string> log;
  result.Log = ok.Log = &log;
  result.Name = "result";
  ok.Name = "ok";
  box.onResult = result.Link();
  box.onOk = ok.Link();
  box.Text = "Заряд окончен!";
  box.Caption = "Режим";
  const UINT_PTR answer = SetTimer(nullptr, 0, 50, AnswerBox);
  RaiseEvent(MakeEvent<&TNdMessage::doMessage>(&box, 0));
  KillTimer(nullptr, answer);  // still running if no box ever showed
  EXPECT_EQ(seenCaption, L"Режим");
  EXPECT_EQ(seenText, L"Заряд окончен!");
  ASSERT_EQ(result.Received.size(), 1u);
  EXPECT_EQ(result.Received[0].IntValue, IDOK);
  EXPECT_EQ(log, (std::vector<std::string>{"result:", "ok:"}));
}

}  // namespace
