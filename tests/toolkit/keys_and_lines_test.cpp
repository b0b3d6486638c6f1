#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "live_form.h"

namespace {

// Xvfb runs no window manager: the test gives the focus itself and sends keys to the focused
// window. A sent key leaves the key state alone, so Shift is written into it directly.
void SetShift(bool down) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

HWND Key(UINT msg, WPARAM key) {
  SendMessageW(GetFocus(), msg, key, 0);
  return GetFocus();
}

// Keys navigate, typed characters of the same codes do not: a typed '(' is VK_DOWN, and a typed
// Tab is swallowed only where the Tab key navigates.
TEST(Navigation, TabMovesInTabOrderAndEditsKeepTheirArrowsAndTypedCharacters) {
  TestForm form(true);
  TControl* b[3];
  for (TControl*& button : b) button = CreateButtonControl(form.get(), "b");
  TControl* pane = CreateEditControl(form.get(), eoMultiline);
  TControl* line = CreateEditControl(form.get(), 0);
  TControl* wantsTab = CreateEditControl(form.get(), eoMultiline | eoWantTab);
  form->CreateWindowHandle();
  form->EnableFocusNavigation();

  SetFocus(b[0]->Handle);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_TAB), b[1]->Handle);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_TAB), b[2]->Handle);
  SetShift(true);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_TAB), b[1]->Handle);
  SetShift(false);
  EXPECT_EQ(Key(WM_KEYUP, VK_TAB), b[1]->Handle);
  b[2]->SetTabOrder(b[0]->TabOrder);
  b[1]->SetTabStop(false);
  SetFocus(b[2]->Handle);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_TAB), b[0]->Handle);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_TAB), pane->Handle);

  pane->SetCaption("a\r\nb");
  pane->SetSelStart(0);
  EXPECT_EQ(Key(WM_KEYDOWN, VK_DOWN), pane->Handle);
  EXPECT_EQ(pane->SelStart(), 3);
  EXPECT_EQ(Key(WM_CHAR, VK_TAB), pane->Handle);
  EXPECT_EQ(pane->GetCaption(), "a\r\nb");

  SetFocus(wantsTab->Handle);
  Key(WM_CHAR, VK_TAB);
  EXPECT_EQ(wantsTab->GetCaption(), "\t");

  SetFocus(line->Handle);
  EXPECT_EQ(Key(WM_CHAR, '('), line->Handle);
  EXPECT_EQ(line->GetCaption(), "(");
  EXPECT_NE(Key(WM_KEYDOWN, VK_DOWN), line->Handle);
}

// Without automatic vertical scrolling the edit refuses a replacement beyond the pane's height,
// and the packed selection answer holds only 16 bits of a position.
TEST(EditLines, PositionsBeyond65536AreExactAndAReplacedLineIsKeptUpToItsNul) {
  TestForm form;
  TControl* edit = CreateEditControl(form.get(), eoMultiline | eoNoVScroll);
  ASSERT_NE(edit->EnsureWindow(), nullptr);
  auto line = [](int i) { return std::string(79, static_cast<char>('a' + i % 26)); };
  std::string text;
  for (int i = 0; i < 1000; ++i) text += line(i) + "\r\n";
  edit->SetCaption(text);
  ASSERT_EQ(edit->LineStart(900), 900 * 81);
  edit->SetSelStart(72905);
  EXPECT_EQ(edit->SelStart(), 72905);
  edit->ReplaceLine(900, "changed\r\n");
  EXPECT_EQ(edit->LineText(899), line(899));
  EXPECT_EQ(edit->LineText(900), "changed");
  EXPECT_EQ(edit->LineText(901), line(901));
  EXPECT_EQ(edit->LineCount(), 1001);
  // An insert is refused the same way; the text is then the old one with the insert in place.
  const std::string before = edit->GetCaption();
  edit->InsertText(81, "top\r\n");
  EXPECT_EQ(edit->GetCaption(), before.substr(0, 81) + "top\r\n" + before.substr(81));

  edit->SetCaption("x\r\n\r\nz");
  edit->ReplaceLine(2, "last");  // the last line is replaced, not prefixed
  edit->ReplaceLine(3, "nowhere");
  EXPECT_EQ(edit->GetCaption(), "x\r\n\r\nlast");
  edit->ReplaceLine(0, std::string("a\0b\r\n", 5));  // its break goes with the line
  EXPECT_EQ(edit->GetCaption(), "a\r\nlast");
}

}  // namespace
