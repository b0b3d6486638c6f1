#include <windows.h>

#include <gtest/gtest.h>

#include "control.h"
#include "control_test_support.h"
#include "resource_count.h"

namespace {

DWORD StyleOf(TControl* c) { return static_cast<DWORD>(GetWindowLongW(c->Handle, GWL_STYLE)); }

TEST(ControlCreate, EditOptionsAndChildDefaultsReachTheWindow) {
  TestForm form;
  CreateLabelControl(form.get(), "a");
  TControl* single = CreateEditControl(form.get(), 0);
  TControl* multi = CreateEditControl(form.get(), eoMultiline | eoNoHScroll | eoWantTab);
  form->CreateWindowHandle();
  ASSERT_TRUE(single->Handle && multi->Handle);

  EXPECT_EQ(StyleOf(single) & (WS_HSCROLL | WS_VSCROLL), 0u);  // whatever the options say
  EXPECT_EQ(StyleOf(multi) & (WS_HSCROLL | WS_VSCROLL | ES_MULTILINE),
            static_cast<DWORD>(WS_VSCROLL | ES_MULTILINE));
  EXPECT_EQ(multi->NavigationKeys, 0);  // option bit 10 keeps Tab in the control
  // The form has the 3-D look: the border line becomes a client edge.
  EXPECT_EQ(StyleOf(single) & WS_BORDER, 0u);
  EXPECT_TRUE(GetWindowLongW(single->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  EXPECT_EQ(GetDlgCtrlID(multi->Handle), single->ControlId + 1);
  EXPECT_EQ(multi->TabOrder, single->TabOrder + 1);
  EXPECT_EQ(form->LastFocused, single);  // the first tab stop, not the label

  // A superclass of the standard class, without the shared-DC class styles.
  wchar_t name[32] = {};
  GetClassNameW(multi->Handle, name, 32);
  EXPECT_STREQ(name, L"obj_EDIT");
  EXPECT_EQ(GetClassLongW(multi->Handle, GCL_STYLE) & 0x40E0, 0u);
  multi->SetCaption("one\r\ntwo");
  EXPECT_EQ(SendMessageW(multi->Handle, EM_GETLINECOUNT, 0, 0), 2);
}

TEST(ControlCreate, WindowsAreMadeOnlyWhenNeededParentFirst) {
  TOwned<TControl> form(CreateFormControl(nullptr, "lazy"));
  form->SetVisible(false);
  TControl* label = CreateLabelControl(form.get(), "");
  label->CreateWindowHandle();  // a child without a parent window is not made
  EXPECT_EQ(label->Handle, nullptr);
  ASSERT_NE(label->EnsureWindow(), nullptr);
  EXPECT_EQ(GetParent(label->Handle), form->Handle);
}

// Refuses WM_NCCREATE as often as told.
bool RefuseCreation(void* refusals, TMessage& msg, LRESULT& result) {
  if (msg.Msg != WM_NCCREATE || *static_cast<int*>(refusals) == 0) return false;
  --*static_cast<int*>(refusals);
  result = FALSE;
  return true;
}

TEST(ControlCreate, FailedCreationLeavesNoHandleAndLaterCallsAreHarmless) {
  TestForm form;
  TControl* button = CreateButtonControl(form.get(), "b");
  int refusals = 1;
  button->OnMessage = {RefuseCreation, &refusals};
  EXPECT_EQ(button->EnsureWindow(), nullptr);
  button->SetCaption("c");
  button->SetSize(50, 30);
  button->Invalidate();
  ASSERT_NE(button->EnsureWindow(), nullptr);
  EXPECT_EQ(button->GetCaption(), "c");
}

TEST(ControlCreate, TenThousandRoundsGiveBackEveryWindowAndGdiObject) {
  TestForm form;
  const auto round = [&] {
    TOwned<TControl> label(CreateLabelControl(form.get(), "Напряжение,В"));
    TOwned<TControl> edit(CreateEditControl(form.get(), eoMultiline));
    TOwned<TControl> button(CreateButtonControl(form.get(), "цикл"));
    for (TControl* c : {label.get(), edit.get(), button.get()}) {
      c->Font()->SetFontHeight(-13);
      ASSERT_NE(c->EnsureWindow(), nullptr);
      SendMessageW(c->Handle, CM_CTLCOLOR_BASE + WM_CTLCOLORSTATIC, 0, 0);  // makes the brush
    }
  };
  round();  // the platform makes its lasting objects first
  const std::size_t gdi = CountGdiObjects();
  const std::size_t windows = CountWindows();
  for (int i = 0; i < 10000; ++i) round();
  EXPECT_EQ(CountGdiObjects(), gdi);
  EXPECT_EQ(CountWindows(), windows);
}

}  // namespace
