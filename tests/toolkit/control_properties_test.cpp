#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "control.h"
#include "control_test_support.h"
#include "window_facts.h"

namespace {

TEST(ControlProperties, CaptionCrossesToUnicodeAndBack) {
  TestForm form;
  TControl* label = CreateLabelControl(form.get(), "");
  ASSERT_TRUE(label->EnsureWindow());
  const std::string text = "Напряжение,В";  // Windows-1251 bytes at run time
  label->SetCaption(text);
  EXPECT_EQ(WindowText(label->Handle),
            L"\u041D\u0430\u043F\u0440\u044F\u0436\u0435\u043D\u0438\u0435,\u0412");
  EXPECT_EQ(label->GetCaption(), text);
  SetWindowTextW(label->Handle, L"\u0446\u0438\u043A\u043B");  // the live text wins
  EXPECT_EQ(label->GetCaption(), "цикл");
}

TEST(ControlProperties, FrameEnabledVisibleAndFontReachTheWindow) {
  TestForm form;
  TControl* edit = CreateEditControl(form.get(), 0);
  ASSERT_TRUE(edit->EnsureWindow());
  const auto style = [&] { return GetWindowLongW(edit->Handle, GWL_STYLE); };
  edit->SetThreeDLook(false);
  EXPECT_TRUE(style() & WS_BORDER);
  EXPECT_FALSE(GetWindowLongW(edit->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  edit->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(edit->Handle));
  edit->SetVisible(false);
  edit->SetStyle(edit->Style | ES_UPPERCASE);  // must not bring the hidden window back
  EXPECT_EQ(style() & (ES_UPPERCASE | WS_VISIBLE), ES_UPPERCASE);

  // The font tool reaches the window; its colour is the control's font colour.
  edit->Font()->SetFontHeight(-20);
  edit->Font()->SetColor(0x00010203);
  EXPECT_EQ(WindowFont(edit->Handle).lfHeight, -20);
  EXPECT_EQ(edit->FontColor, 0x00010203u);
}

TEST(ControlProperties, BoundsMoveTheWindowAndFollowIt) {
  TestForm form;
  TControl* button = CreateButtonControl(form.get(), "b");
  button->SetPosition(10, 20);
  button->SetSize(80, 0);  // 0 keeps the default height
  ASSERT_TRUE(button->EnsureWindow());
  EXPECT_EQ(ChildRect(button->Handle), (RECT{10, 20, 90, 42}));
  MoveWindow(button->Handle, 1, 2, 33, 44, TRUE);  // moved from outside
  EXPECT_EQ(button->BoundsRect, (RECT{1, 2, 34, 46}));

  TControl* edit = CreateEditControl(form.get(), 0);  // client edge, no scroll bars
  ASSERT_TRUE(edit->EnsureWindow());
  edit->SetClientSize(120, 90);
  EXPECT_EQ(edit->ClientRect(), (RECT{0, 0, 120, 90}));
}

}  // namespace
