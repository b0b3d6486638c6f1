#include "main_form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "../elements/probes.h"
#include "ini_file.h"

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
  static bool TakeQuit() {
    MSG m;
    return PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  // The application goes first, as when the message loop ends.
  void End() {
    RemoveDispatchers();
    TObj::Free(std::exchange(AppControl, nullptr));
    forms.clear();
    InitProcs.clear();
    while (TakeQuit()) {
    }
  }
  void TearDown() override { End(); }
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
  const TNdMainForm* gone = Make();
  forms.pop_back();  // its start-up entry must not call into it
  for (const TInitProc& proc : InitProcs) EXPECT_FALSE(proc.Code && proc.Target == gone);
}

// A close sent by the parent form does not ask the child form's veto.
TEST_F(MainFormTest, CloseVetoThenCloseClosesChildFormsRaisesOnCloseAndStopsAllFlow) {
  TNdMainForm* form = Make();
  TSource veto, childVeto;
  TProbe closed, later;
  veto.Value = childVeto.Value = IntegerData(1);
  form->CloseVeto = veto.Link();
  form->onClose = closed.Link();
  form->Init();
  TNdMainForm* child = Make(form->Control);
  child->CloseVeto = childVeto.Link();
  child->Init();
  InstallDispatchers();
  SendMessageW(form->Control->Handle, WM_CLOSE, 0, 0);
  EXPECT_FALSE(TakeQuit());
  EXPECT_TRUE(IsWindow(child->Control->Handle));
  EXPECT_TRUE(closed.Received.empty());

  veto.Value = IntegerData(0);
  RaiseEvent(later.Link());
  SendMessageW(form->Control->Handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TakeQuit());
  EXPECT_FALSE(IsWindow(child->Control->Handle));
  EXPECT_EQ(closed.Received.size(), 1u);
  RaiseEvent(later.Link());
  EXPECT_EQ(later.Received.size(), 1u);
}

// The next form starts minimised: the stored bounds are the ones it restores to.
TEST_F(MainFormTest, PlacementSavedAtCloseInTheRegistryOrAnIniFileIsRestoredAtTheFirstShow) {
  const std::string ini = TIniFile::ProgramDirectory() + "vortane-test.ini";
  for (const char* key : {"VortaneTest\\Placement", "vortane-test.ini\\Main"}) {
    SCOPED_TRACE(key);
    TNdMainForm* first = Make();
    first->SaveKey = key;
    std::tie(first->Left, first->Top, first->Width, first->Height) = std::tuple(-8, 90, 410, 260);
    first->Init();
    SendMessageW(first->Control->Handle, WM_CLOSE, 0, 0);
    End();
    TNdMainForm* second = Make();
    second->SaveKey = key;
    second->WindowState = 1;
    second->Init();
    InstallDispatchers();
    RunInitProcs();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(second->Control->Handle, &placement);
    EXPECT_TRUE(IsIconic(second->Control->Handle));
    const RECT expected{-8, 90, 402, 350};
    EXPECT_TRUE(EqualRect(&placement.rcNormalPosition, &expected));
    End();
  }
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Width", 0, ini.c_str()), 410);
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Height", 0, ini.c_str()), 260);
  DeleteFileA(ini.c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VortaneTest");
}

}  // namespace
