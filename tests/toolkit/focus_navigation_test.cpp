#include "control.h"

#include <windows.h>

#include <gtest/gtest.h>

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

TEST(Navigation, TabMovesInTabOrderAndEditsKeepTheirOwnKeys) {
  TOwned<TControl> form(CreateFormControl(nullptr, "navigation"));
  TControl* b[3];
  for (int i = 0; i < 3; ++i) b[i] = CreateButtonControl(form.get(), "b");
  TControl* pane = CreateEditControl(form.get(), eoMultiline);
  TControl* line = CreateEditControl(form.get(), 0);
  form->EnsureWindow();
  form->EnableFocusNavigation();

  SetFocus(b[0]->Handle);
  ASSERT_EQ(GetFocus(), b[0]->Handle);
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

  // A single-line edit leaves Down to navigation; the typed '(' shares its code.
  SetFocus(line->Handle);
  EXPECT_EQ(Key(WM_CHAR, '('), line->Handle);
  EXPECT_EQ(line->GetCaption(), "(");
  EXPECT_NE(Key(WM_KEYDOWN, VK_DOWN), line->Handle);
}

}  // namespace
