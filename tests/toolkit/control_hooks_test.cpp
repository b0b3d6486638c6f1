#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control.h"
#include "control_test_support.h"

namespace {

using Entries = std::vector<std::string>;

TEST(ControlHooks, NotificationsReachTheChildsHandlers) {
  TestForm form;
  Journal journal;
  TControl* button = CreateButtonControl(form.get(), "b");
  button->SetSize(60, 0);  // BM_CLICK clicks only when its mouse point lies inside the button
  TControl* paintBox = CreatePaintBoxControl(form.get());
  TControl* edit = CreateEditControl(form.get(), 0);
  button->OnClick = paintBox->OnClick = Note<Click>(journal);
  edit->OnChange = Note<Change>(journal);
  form->CreateWindowHandle();

  SendMessageW(button->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(journal.entries, Entries{"click"});
  // What a STATIC with SS_NOTIFY sends its parent when it is clicked.
  SendMessageW(form->Handle, WM_COMMAND, MAKEWPARAM(paintBox->ControlId, STN_CLICKED),
               reinterpret_cast<LPARAM>(paintBox->Handle));
  SetWindowTextW(edit->Handle, L"x");
  EXPECT_EQ(journal.entries, (Entries{"click", "click", "change"}));
}

TEST(ControlHooks, ColourMessagesAnswerWithTheChildsColours) {
  TestForm form;
  TControl* label = CreateLabelControl(form.get(), "l");
  label->SetColor(0x00123456);
  label->SetFontColor(0x00654321);
  ASSERT_TRUE(label->EnsureWindow());
  TestBitmap target;
  const auto ask = [&] {
    return SendMessageW(form->Handle, WM_CTLCOLORSTATIC, target.wParam(),
                        reinterpret_cast<LPARAM>(label->Handle));
  };
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HBRUSH>(ask()), sizeof brush, &brush));
  EXPECT_EQ(brush.lbColor, 0x00123456u);
  EXPECT_EQ(GetBkColor(target.dc.Get()), 0x00123456u);
  EXPECT_EQ(GetTextColor(target.dc.Get()), 0x00654321u);

  label->Transparent = true;
  EXPECT_EQ(ask(), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetBkMode(target.dc.Get()), TRANSPARENT);
}

struct PaintProbe {
  int calls = 0;
  TControl* control = nullptr;
  void Paint(TObj*, HDC dc) {
    ++calls;
    control->Canvas()->SetDC(dc);
    control->Canvas()->FillRect(RECT{0, 0, 4, 4});
  }
};

TEST(ControlHooks, PaintGivesTheDcAndTheCanvasLetsItGo) {
  TestForm form(true);
  PaintProbe probe;
  probe.control = CreatePaintBoxControl(form.get());
  probe.control->SetColor(0x0000FF00);
  probe.control->SetOnPaint(MakeMethod<&PaintProbe::Paint, TObj*, HDC>(&probe));
  ASSERT_TRUE(probe.control->EnsureWindow());
  UpdateWindow(form->Handle);
  probe.calls = 0;
  InvalidateRect(probe.control->Handle, nullptr, FALSE);
  UpdateWindow(probe.control->Handle);
  EXPECT_EQ(probe.calls, 1);
  EXPECT_EQ(probe.control->Canvas()->DC(), nullptr);

  TestBitmap target;  // the road buffered painting takes
  SendMessageW(probe.control->Handle, WM_PRINTCLIENT, target.wParam(), PRF_CLIENT);
  EXPECT_EQ(GetPixel(target.dc.Get(), 1, 1), 0x0000FF00u);
}

TEST(ControlHooks, MouseRecordAndStopFlag) {
  TestForm form;
  static std::vector<TMouseRecord> seen;
  static int contextMenus = 0;
  // Ctrl held: the handler keeps the message from default processing.
  const TOnMouse record = {[](void*, TObj*, TMouseRecord& m) {
                             seen.push_back(m);
                             m.StopHandling = (m.Flags & MK_CONTROL) != 0;
                           },
                           nullptr};
  form->SetOnMouseDown(record);
  form->SetOnMouseUp(record);
  form->OnMessage = {[](void*, TMessage& msg, LRESULT&) {
                       contextMenus += msg.Msg == WM_CONTEXTMENU;
                       return false;
                     },
                     nullptr};
  const LPARAM at = MAKELPARAM(static_cast<WORD>(-5), 7);
  SendMessageW(form->Handle, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, at);
  SendMessageW(form->Handle, WM_RBUTTONUP, MK_CONTROL, at);
  EXPECT_EQ(contextMenus, 0);
  SendMessageW(form->Handle, WM_RBUTTONUP, 0, at);  // default processing asks for the menu
  EXPECT_EQ(contextMenus, 1);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].Button, 3);
  EXPECT_EQ(seen[0].Flags, static_cast<std::uint32_t>(MK_MBUTTON | MK_SHIFT));
  EXPECT_EQ(seen[0].X, -5);
  EXPECT_EQ(seen[0].Y, 7);
  EXPECT_EQ(seen[1].Button, 2);
}

UINT HaltedWith = 99;

TEST(ControlHooks, FormErasesWithItsColourAndEndsTheSessionOnShutdown) {
  TestForm form;
  form->SetColor(0x00AA5500);
  TestBitmap target;
  EXPECT_EQ(SendMessageW(form->Handle, WM_ERASEBKGND, target.wParam(), 0), 1);
  EXPECT_EQ(GetPixel(target.dc.Get(), 3, 3), 0x00AA5500u);

  Journal journal;
  AppControl = CreateApplicationControl("app");
  AppControl->OnDestroy = Note<Destroyed>(journal);
  const auto halt = HaltProcess;
  HaltProcess = [](UINT code) { HaltedWith = code; };
  SendMessageW(form->Handle, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(HaltedWith, 99u);
  SendMessageW(form->Handle, WM_ENDSESSION, TRUE, 0);
  HaltProcess = halt;
  EXPECT_EQ(HaltedWith, 0u);
  EXPECT_TRUE(AppTerminated);
  EXPECT_EQ(AppControl, nullptr);
  EXPECT_EQ(journal.entries, Entries{"destroyed"});
  AppTerminated = false;
}

}  // namespace
