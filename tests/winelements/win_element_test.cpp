#include "win_element.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "label_button.h"
#include "text_codec.h"
#include "win_element_test_support.h"
#include "window_facts.h"

namespace {

// Over a STATIC that starts with the client edge, made in the constructor like a label's.
struct BoxElement : TNdWin {
  explicit BoxElement(TControl* parent) : TNdWin(parent) {
    Control = CreateControl(parent, "STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY, {}, true);
  }
};

LONG Style(const TNdWin& element) { return GetWindowLongW(element.Control->Handle, GWL_STYLE); }
LONG ExStyle(const TNdWin& element) {
  return GetWindowLongW(element.Control->Handle, GWL_EXSTYLE);
}

TEST_F(WinElementTest, InitAppliesGeometryFramesEdgesFontAndTabOrder) {
  TNdButton button(form.get());
  button.Left = 10;
  button.Top = 20;
  button.Height = 25;  // the width stays a child's default, 0
  button.Font = MakeFontRec("Arial", 10, 0x13, 0, 1);
  button.TabOrder = -1;
  button.Init();
  const RECT r = ChildRect(button.Control->Handle);
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
            (std::vector<LONG>{10, 20, 10, 45}));
  EXPECT_FALSE(Style(button) & WS_TABSTOP);
  const LOGFONTW font = WindowFont(button.Control->Handle);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_TRUE(font.lfItalic && !font.lfUnderline && !font.lfStrikeOut);

  BoxElement single(form.get()), edged(form.get());
  single.FrameStyle = frSingle;
  edged.FrameStyle = frSunken;
  edged.EdgeStyle = 2;
  single.Init();
  edged.Init();
  EXPECT_TRUE(Style(single) & WS_BORDER);
  EXPECT_FALSE(ExStyle(single) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(ExStyle(edged), WS_EX_STATICEDGE);
}

// The parent form hears a key first and may swallow it; a move reports the one button held alone
// (-1 for none or several), the wheel its signed turn.
TEST_F(WinElementTest, KeysPassTheParentFirstAndMouseRulesHold) {
  struct Swallower {
    void KeyDown(TObj*, WPARAM& key, TShiftState) { key = key == VK_F2 ? 0 : key; }
  } swallower;
  form->SetOnKeyDown(MakeMethod<&Swallower::KeyDown, TObj*, WPARAM&, TShiftState>(&swallower));
  BoxElement element(form.get());
  element.onKeyDown = probe.Link(0);
  element.onKeyPress = probe.Link(1);
  element.onMouseDown = probe.Link(2);
  element.onMouseMove = probe.Link(3);
  element.onMouseWheel = probe.Link(4);
  element.Init();
  const HWND w = element.Control->Handle;
  SetFocus(w);
  SendMessageW(w, WM_KEYDOWN, VK_F2, 0);
  SendMessageW(w, WM_KEYDOWN, VK_F3, 0);
  SendMessageW(w, WM_CHAR, L'ц', 0);  // UTF-16 in, Windows-1251 out
  SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 0);
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 0);
  SendMessageW(w, WM_MOUSEMOVE, MK_RBUTTON, 0);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(probe.got, (Got{"0:" + std::to_string(VK_F3), "1:ц", "2:1", "3:-1", "3:1", "4:120",
                            "4:-120"}));
}

TEST_F(WinElementTest, HeightChangeAnsweringZeroKeepsTheHeightAnUnlinkedWidthChangeLetsItGo) {
  TSource zero;
  zero.Value = IntegerData(0);
  BoxElement element(form.get());
  element.Width = 50;
  element.Height = 30;
  element.HeightChange = zero.Link();
  element.Init();
  element.Control->SetSize(80, 200);
  const RECT r = ChildRect(element.Control->Handle);
  EXPECT_EQ(r.bottom - r.top, 30);
  EXPECT_EQ(r.right - r.left, 80);
  EXPECT_EQ(element.Control->Height(), 30);
}

// Only the control's window goes first: the element, destroyed then, still frees its control and
// is never written to again (its room is poisoned once it is gone).
TEST_F(WinElementTest, ElementOutlivedByItsControlsWindowFreesItAndIsNeverTouchedAgain) {
  TControl* parent = CreatePaintBoxControl(form.get());
  alignas(BoxElement) unsigned char room[sizeof(BoxElement)];
  BoxElement* element = new (room) BoxElement(parent);
  element->Init();
  DestroyWindow(parent->Handle);
  EXPECT_TRUE(element->ControlGone);
  element->~BoxElement();
  std::memset(room, 0xDD, sizeof room);
  EXPECT_TRUE(parent->Children.empty());
  parent->Free();
  EXPECT_TRUE(std::all_of(std::begin(room), std::end(room), [](auto b) { return b == 0xDD; }));
}

SIZE TextSize(HWND window, const wchar_t* text) {
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

// A STATIC with SS_NOTIFY reports a click on button-down, no focus needed; BM_CLICK clicks only
// inside the button, so it gets a width.
TEST_F(WinElementTest, LabelAndButtonClicksRaiseOnClickAndAnAutoSizedLabelFitsItsCaption) {
  TNdLabel label(form.get());
  label.onClick = probe.Link(0);
  label.Caption = "Напряжение,В";
  label.SetAutoSize(true);
  label.Init();
  TNdButton button(form.get());
  button.Width = 60;
  MakeInteger(button.ClickData, 5);
  button.onClick = probe.Link(1);
  button.Init();
  SendMessageW(label.Control->Handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(button.Control->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(probe.got, (Got{"0:NULL", "1:5"}));

  for (const wchar_t* caption : {L"Напряжение,В", L"мин"}) {
    label.Control->SetCaption(FromWide(caption));
    const SIZE text = TextSize(label.Control->Handle, caption);
    const RECT r = ChildRect(label.Control->Handle);
    EXPECT_EQ((std::vector<LONG>{r.right - r.left, r.bottom - r.top}),
              (std::vector<LONG>{text.cx, text.cy}));
  }
}

}  // namespace
