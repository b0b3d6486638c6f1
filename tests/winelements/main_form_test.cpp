#include <windows.h>

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <utility>

#include "../elements/probes.h"
#include "main_form.h"

namespace {

// The application control stays hidden: Wine under Xvfb takes about two seconds to destroy a
// visible top-level window.
class MainFormTest : public ::testing::Test {
protected:
  TNdMainForm* Make(TControl* parent = nullptr) {
    forms.push_back(std::make_unique<TNdMainForm>(parent));
    forms.back()->AlphaBlend = 255;
    if (forms.back()->OwnsApplication) AppControl->SetVisible(false);
    return forms.back().get();
  }
  static void FreeApplication() { TObj::Free(std::exchange(AppControl, nullptr)); }
  static bool TakeQuit() { MSG m; return PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); }
  void TearDown() override {
    RemoveDispatchers();
    FreeApplication();  // first, as when the message loop ends
    while (!forms.empty()) forms.pop_back();
    InitProcs.clear();
    for (int watchdog = 0; watchdog < 100 && TakeQuit(); ++watchdog) {
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VortaneTest");
  }
  std::vector<std::unique_ptr<TNdMainForm>> forms;
};

struct CreateProbe : TObject {
  HWND window = nullptr;
  std::vector<bool> visibleAtCreate;
  void doCreate(TData&, std::uint16_t) { visibleAtCreate.push_back(IsWindowVisible(window)); }
};

TEST_F(MainFormTest, HiddenUntilTheStartUpListRunsAndOnCreateRaisedOnce) {
  TNdMainForm* form = Make();
  CreateProbe probe;
  form->onCreate = MakeEvent<&CreateProbe::doCreate>(&probe, 0);
  form->Init();
  probe.window = form->Control->Handle;
  EXPECT_FALSE(IsWindowVisible(probe.window));
  InstallDispatchers();
  RunInitProcs();
  EXPECT_TRUE(IsWindowVisible(probe.window));
  form->Control->SetVisible(false);
  form->Control->SetVisible(true);
  EXPECT_EQ(probe.visibleAtCreate, std::vector<bool>{false});
}

TEST_F(MainFormTest, CloseVetoThenCloseClosesChildFormsRaisesOnCloseAndStopsAllFlow) {
  TNdMainForm* form = Make();
  TSource veto, childVeto;
  TProbe closed, later;
  veto.Value = childVeto.Value = IntegerData(1);
  form->CloseVeto = veto.Link();
  form->onClose = closed.Link();
  form->Init();
  TNdMainForm* child = Make(form->Control);
  child->CloseVeto = childVeto.Link();  // a close sent by the parent form does not ask it
  child->Init();
  InstallDispatchers();
  SendMessageW(form->Control->Handle, WM_CLOSE, 0, 0);
  EXPECT_FALSE(TakeQuit());
  EXPECT_TRUE(IsWindow(child->Control->Handle));

  veto.Value = IntegerData(0);
  RaiseEvent(later.Link());
  SendMessageW(form->Control->Handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TakeQuit());
  EXPECT_FALSE(IsWindow(child->Control->Handle));
  EXPECT_EQ(closed.Received.size(), 1u);
  RaiseEvent(later.Link());
  EXPECT_EQ(later.Received.size(), 1u);
}

TEST_F(MainFormTest, FreeingTheApplicationFirstLeavesTheElementsNothingToTouch) {
  TNdMainForm* form = Make();
  form->Init();
  Make(form->Control)->Init();
  SendMessageW(form->Control->Handle, WM_CLOSE, 0, 0);
  FreeApplication();
  EXPECT_TRUE(forms[0]->ControlGone && forms[1]->ControlGone);
  forms.clear();
}

TEST_F(MainFormTest, DeletedBeforeStartUpLeavesNoStartUpEntryBehind) {
  const TNdMainForm* form = Make();
  forms.clear();
  ASSERT_FALSE(InitProcs.empty());
  for (const TInitProc& proc : InitProcs) EXPECT_FALSE(proc.Code && proc.Target == form);
}

TEST_F(MainFormTest, BorderStyleRewritesTheFrameAndIgnoresValuesAboveNine) {
  TNdMainForm* form = Make();
  form->SetBorderStyle(4);  // before Init, as the generated form does: the window is made here
  const HWND window = form->Control->Handle;
  form->Init();
  auto style = [&] { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); };
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(style() & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX), DWORD{WS_CAPTION});
  EXPECT_TRUE(style() & WS_SYSMENU);
  form->SetBorderStyle(2);
  form->SetBorderStyle(10);
  EXPECT_EQ(style() & 0xC70000, 0xC70000u);
  EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
}

int Drags = 0;
bool NoteDrag(TControl*, TMessage& msg, LRESULT&) {  // and keeps the move loop out of a test
  return msg.Msg == WM_SYSCOMMAND && msg.wParam == 0xF012 && ++Drags;
}

TEST_F(MainFormTest, DragFormMovesOnTheLeftButtonOnly) {
  TNdMainForm* form = Make();
  form->DragForm = true;
  form->Init();
  form->Control->AddMessageHook(NoteDrag);
  SendMessageW(form->Control->Handle, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_EQ(Drags, 0);
  SendMessageW(form->Control->Handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Drags, 1);
}

TEST_F(MainFormTest, RegistryPlacementSavedAtCloseAndRestoredAtTheFirstShow) {
  TNdMainForm* first = Make();
  first->SaveKey = "VortaneTest\\Placement";
  std::tie(first->Left, first->Top, first->Width, first->Height) = std::tuple(120, 90, 410, 260);
  first->Init();
  SendMessageW(first->Control->Handle, WM_CLOSE, 0, 0);
  FreeApplication();
  forms.clear();
  // The next form starts minimised: the stored bounds are the ones it restores to.
  TNdMainForm* second = Make();
  second->SaveKey = "VortaneTest\\Placement";
  second->WindowState = 1;
  second->Init();
  InstallDispatchers();
  RunInitProcs();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(second->Control->Handle, &placement);
  EXPECT_TRUE(IsIconic(second->Control->Handle));
  const RECT expected{120, 90, 530, 350};
  EXPECT_TRUE(EqualRect(&placement.rcNormalPosition, &expected));
}

}  // namespace
