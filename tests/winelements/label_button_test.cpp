#include "label_button.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win_element_test_support.h"

namespace {

// The window's size against the text's extent in the font the window was given.
void ExpectFits(HWND window, const wchar_t* text) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, size.cx);
  EXPECT_EQ(r.bottom - r.top, size.cy);
}

TEST_F(WinElementTest, LabelAndButtonClicksRaiseOnClick) {
  TNdLabel label(form.get());
  label.onClick = probe.Link(0);
  label.Init();
  // A STATIC with SS_NOTIFY reports a click on button-down; no focus is needed.
  SendMessageW(label.Control->Handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(label.Control->Handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);

  TNdButton button(form.get());
  button.Width = 60;  // BM_CLICK clicks only inside the button
  MakeInteger(button.ClickData, 5);
  button.onClick = probe.Link(1);
  button.Init();
  SendMessageW(button.Control->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(probe.got, (Got{"0:NULL", "0:NULL", "1:5"}));
  EXPECT_TRUE(GetWindowLongW(button.Control->Handle, GWL_STYLE) & BS_MULTILINE);
}

TEST_F(WinElementTest, AutoSizedLabelFitsEveryCaption) {
  TNdLabel label(form.get());
  label.Caption = "Напряжение,В";
  label.Width = 10;
  label.Height = 5;
  label.SetAutoSize(true);
  label.SetTextAlign(1);
  label.Init();
  const HWND w = label.Control->Handle;
  ExpectFits(w, L"Напряжение,В");
  EXPECT_EQ(label.Control->GetCaption(), "Напряжение,В");
  EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
  label.Control->SetCaption("мин");
  ExpectFits(w, L"мин");
}

}  // namespace
