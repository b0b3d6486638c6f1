#include "win_element.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "label_button.h"
#include "win_element_test_support.h"
#include "window_facts.h"

namespace {

// Room for one element, poisoned once the element is destroyed: a later write into the dead
// element shows.
template <class E>
struct Grave {
  alignas(E) unsigned char bytes[sizeof(E)];
  E* Make(TControl* parent) { return new (bytes) E(parent); }
  void Bury(E* element) {
    element->~E();
    std::memset(bytes, 0xDD, sizeof bytes);
  }
  bool Untouched() const {
    return std::all_of(std::begin(bytes), std::end(bytes), [](auto b) { return b == 0xDD; });
  }
};

// Over a STATIC that starts with the client edge, made in the constructor like a label's.
struct BoxElement : TNdWin {
  explicit BoxElement(TControl* parent) : TNdWin(parent) {
    Control = CreateControl(parent, "STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY, {}, true);
  }
};

TEST_F(WinElementTest, InitAppliesGeometryFramesFontAndTabOrder) {
  TNdButton button(form.get());
  button.Left = 10;
  button.Top = 20;
  button.Height = 25;  // the width stays a child's default, 0
  button.Font = MakeFontRec("Arial", 10, 0x13, 0, 1);
  button.TabOrder = -1;
  button.Init();
  const HWND w = button.Control->Handle;
  const RECT r = ChildRect(w);
  EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
            std::vector<LONG>({10, 20, 10, 45}));
  EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP);
  const LOGFONTW font = WindowFont(w);
  EXPECT_EQ(std::vector<int>({font.lfWeight >= FW_BOLD, font.lfItalic, font.lfUnderline,
                              font.lfStrikeOut}),
            std::vector<int>({1, 1, 0, 0}));

  BoxElement single(form.get()), edged(form.get());
  single.FrameStyle = frSingle;
  edged.FrameStyle = frSunken;
  edged.EdgeStyle = 2;
  single.Init();
  edged.Init();
  EXPECT_TRUE(GetWindowLongW(single.Control->Handle, GWL_STYLE) & WS_BORDER);
  EXPECT_FALSE(GetWindowLongW(single.Control->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongW(edged.Control->Handle, GWL_EXSTYLE), WS_EX_STATICEDGE);
}

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
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 0);
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 0);
  SendMessageW(w, WM_MOUSEMOVE, MK_RBUTTON, 0);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(probe.got, (Got{"0:" + std::to_string(VK_F3), "1:ц", "2:0", "3:-1", "3:1", "4:120",
                            "4:-120"}));
}

TEST_F(WinElementTest, HeightChangeAnsweringZeroKeepsTheHeight) {
  BoxElement element(form.get());
  element.Width = 50;
  element.Height = 30;
  element.HeightChange = MakeEvent<&Probe::answerZero>(&probe, 0);
  element.Init();
  element.Control->SetSize(80, 200);
  const RECT r = ChildRect(element.Control->Handle);
  EXPECT_EQ(r.bottom - r.top, 30);
  EXPECT_EQ(r.right - r.left, 80);  // WidthChange is unlinked: the proposal stands
  EXPECT_EQ(element.Control->Height(), 30);
}

TEST_F(WinElementTest, ElementOutlivedByItsControlNeverTouchesIt) {
  TControl* parents[2];
  Grave<BoxElement> graves[2];
  BoxElement* elements[2];
  for (int i = 0; i < 2; ++i) {
    parents[i] = CreateFormControl(form.get(), "parent");
    parents[i]->SetVisible(false);
    elements[i] = graves[i].Make(parents[i]);
    elements[i]->Init();
  }
  parents[0]->Free();  // the control object goes with its parent
  EXPECT_TRUE(elements[0]->ControlGone);
  EXPECT_EQ(elements[0]->Control, nullptr);
  graves[0].Bury(elements[0]);

  DestroyWindow(parents[1]->Handle);  // only the window goes
  EXPECT_TRUE(elements[1]->ControlGone);
  graves[1].Bury(elements[1]);
  EXPECT_TRUE(parents[1]->Children.empty());  // the element still freed what it owned
  parents[1]->Free();
  EXPECT_TRUE(graves[0].Untouched() && graves[1].Untouched());
}

TEST_F(WinElementTest, ButtonDestroyedByItsOwnClickIsNotCalledAgain) {
  struct Destroyer : TObject {
    Grave<TNdButton> grave;
    TNdButton* button = nullptr;
    void doDestroy(TData&, std::uint16_t) { grave.Bury(std::exchange(button, nullptr)); }
  } destroyer;
  TNdButton* button = destroyer.button = destroyer.grave.Make(form.get());
  button->Width = 60;  // BM_CLICK clicks only inside the button
  button->onClick = MakeEvent<&Destroyer::doDestroy>(&destroyer, 0);
  button->Init();
  const HWND w = button->Control->Handle;
  // The control outlives the element while its messages run; nothing of it may call back.
  SendMessageW(w, BM_CLICK, 0, 0);
  EXPECT_EQ(destroyer.button, nullptr);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(destroyer.grave.Untouched());
}

}  // namespace
