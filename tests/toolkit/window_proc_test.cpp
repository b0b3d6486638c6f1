#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "control.h"
#include "control_test_support.h"

namespace {

using Entries = std::vector<std::string>;

constexpr UINT Probe = WM_APP + 1;
constexpr UINT Stopped = WM_APP + 2;

Entries Seen;

bool EarlierHook(TControl*, TMessage& msg, LRESULT&) {
  Seen.push_back("earlier " + std::to_string(msg.Msg - WM_APP));
  return false;
}

bool LaterHook(TControl*, TMessage& msg, LRESULT& result) {
  Seen.push_back("later " + std::to_string(msg.Msg - WM_APP));
  result = 7;
  return msg.Msg == Stopped;
}

bool LogOnMessage(void* name, TMessage& msg, LRESULT&) {
  if (msg.Msg == Probe) Seen.push_back(static_cast<const char*>(name));
  return false;
}

TEST(WindowProc, DispatchOrderAndTermination) {
  TestForm form;
  TOwned<TControl> app(CreateApplicationControl("app"));
  form->AddMessageHook(EarlierHook);
  form->AddMessageHook(LaterHook, true);
  form->AddMessageHook(EarlierHook);  // no duplicate
  form->OnMessage = {LogOnMessage, const_cast<char*>("own")};
  app->OnMessage = {LogOnMessage, const_cast<char*>("app")};
  AppControl = app.get();
  AppRunning = true;
  SendMessageW(form->Handle, Probe, 0, 0);
  EXPECT_EQ(SendMessageW(form->Handle, Stopped, 0, 0), 7);
  EXPECT_EQ(Seen, (Entries{"app", "own", "later 1", "earlier 1", "later 2"}));

  AppRunning = false;
  AppTerminated = true;
  Seen.clear();
  SendMessageW(form->Handle, Probe, 0, 0);
  AppTerminated = false;
  AppControl = nullptr;
  EXPECT_EQ(Seen, (Entries{"own", "later 1"}));
}

TEST(WindowProc, CloseRefusedKeepsTheWindowAcceptedOnTheMainWindowQuits) {
  TestForm form;
  form->OnClose = {[](void*, TObj*, bool& accept) { accept = false; }, nullptr};
  MSG msg;
  EXPECT_EQ(SendMessageW(form->Handle, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  SendMessageW(form->Handle, WM_CLOSE, 0, 0);  // a refusal outside the loop unhooked OnClose
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_TRUE(IsWindow(form->Handle));  // the loop ends, the window stays until then
}

// Frees the clicked control from inside its click and notes whether it was gone at once.
struct SelfFreeing : Journal {
  void Click(TObj* sender) {
    sender->Free();
    entries.push_back(entries.empty() ? "still here" : "gone");
  }
};

TEST(WindowProc, ControlFreedInsideItsOwnMessageGoesWhenTheMessageReturns) {
  TestForm form;
  SelfFreeing probe;
  TControl* button = CreateButtonControl(form.get(), "x");
  button->SetSize(60, 0);
  button->OnClick = MakeMethod<&SelfFreeing::Click, TObj*>(&probe);
  button->OnDestroy = Note<Destroyed>(probe);
  HWND window = button->EnsureWindow();
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_EQ(probe.entries, (Entries{"still here", "destroyed"}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(form->Children.empty());
}

// The edit's key handler frees the paint box around it: the edit outlives its parent until its
// message returns, and then its form must not point at it (freed memory is poisoned here).
TEST(WindowProc, ChildOutlivingItsFreedParentIsForgottenByItsForm) {
  TestForm form;
  struct Freer {
    TControl* box;
    void Key(TObj*, WPARAM&, TShiftState) { TObj::Free(std::exchange(box, nullptr)); }
  } freer{CreatePaintBoxControl(form.get())};
  TControl* edit = CreateEditControl(freer.box, 0);
  edit->SetOnKeyDown(MakeMethod<&Freer::Key, TObj*, WPARAM&, TShiftState>(&freer));
  form->CreateWindowHandle();
  SetFocus(edit->Handle);
  ASSERT_EQ(form->LastFocused, edit);
  SendMessageW(edit->Handle, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(form->LastFocused, nullptr);
  SendMessageW(form->Handle, WM_SETFOCUS, 0, 0);
}

TEST(WindowProc, MainWindowDestroyedByWindowsFreesItsObjectChildrenHearTheirWindowGo) {
  Journal journal;
  TControl* form = CreateFormControl(nullptr, "main");
  form->SetVisible(false);
  TControl* label = CreateLabelControl(form, "l");
  form->OnDestroy = Note<Destroyed>(journal);
  label->OnWindowDestroyed = Note<WindowDestroyed>(journal);
  label->AddFreeNotifier({[](void* j, TObj*) { static_cast<Journal*>(j)->Note<Freed>(nullptr); },
                          &journal});
  ASSERT_TRUE(label->EnsureWindow());
  DestroyWindow(form->Handle);
  EXPECT_EQ(journal.entries, (Entries{"window destroyed", "destroyed", "freed"}));
}

bool RefuseCreation(void*, TMessage& msg, LRESULT& result) {
  if (msg.Msg != WM_NCCREATE) return false;
  result = FALSE;
  return true;
}

// A main window whose creation fails (no display, say) also gets WM_NCDESTROY; its object must
// outlive that, or every element built on it works on freed memory.
TEST(WindowProc, FailedCreationOfTheMainWindowKeepsItsObject) {
  Journal journal;
  TControl* form = CreateFormControl(nullptr, "main");
  form->SetVisible(false);
  form->OnMessage = {RefuseCreation, nullptr};
  form->OnDestroy = Note<Destroyed>(journal);
  EXPECT_EQ(form->EnsureWindow(), nullptr);
  EXPECT_EQ(form->Handle, nullptr);
  EXPECT_TRUE(journal.entries.empty());
  form->SetCaption("still here");
  EXPECT_EQ(form->GetCaption(), "still here");
  form->Free();
  EXPECT_EQ(journal.entries, (Entries{"destroyed"}));
}

TEST(WindowProc, KeyboardRowTabAndCharacters) {
  TestForm form;
  TControl* wantsTab = CreateEditControl(form.get(), eoMultiline | eoWantTab);
  TControl* multi = CreateEditControl(form.get(), eoMultiline);
  TControl* single = CreateEditControl(form.get(), 0);
  form->CreateWindowHandle();
  static std::vector<WPARAM> navigated;
  form->NavigationProc = [](TControl*, TMessage& msg, LRESULT&) {
    navigated.push_back(msg.wParam);
    return msg.wParam == VK_TAB;
  };
  single->SetOnChar({[](void*, TObj*, WPARAM& key, TShiftState) {
                       if (key == 'a') key = 'b';
                       if (key == 'z') key = 0;
                     },
                     nullptr});
  SendMessageW(single->Handle, WM_CHAR, 'a', 0);  // not focused: ignored
  EXPECT_EQ(single->GetCaption(), "");

  SetFocus(single->Handle);
  SendMessageW(single->Handle, WM_CHAR, 'a', 0);
  SendMessageW(single->Handle, WM_CHAR, 'z', 0);
  SendMessageW(single->Handle, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(single->GetCaption(), "b");
  EXPECT_EQ(navigated, (std::vector<WPARAM>{'b', VK_TAB}));

  // The Tab character is swallowed where Tab navigates, and typed where the control wants it.
  for (TControl* edit : {multi, wantsTab}) {
    SetFocus(edit->Handle);
    SendMessageW(edit->Handle, WM_CHAR, VK_TAB, 0);
  }
  EXPECT_EQ(multi->GetCaption(), "");
  EXPECT_EQ(wantsTab->GetCaption(), "\t");
}

TEST(WindowProc, EnterClicksTheDefaultButtonFocusReturnsToTheLastChild) {
  TestForm form;
  Journal journal;
  TControl* edit = CreateEditControl(form.get(), 0);
  TControl* button = CreateButtonControl(form.get(), "ok");
  button->SetDefaultButton(true);
  button->OnClick = Note<Click>(journal);
  form->CreateWindowHandle();
  EXPECT_TRUE(GetWindowLongW(button->Handle, GWL_STYLE) & BS_DEFPUSHBUTTON);
  SetFocus(form->Handle);  // handed on to the first tab stop
  ASSERT_EQ(GetFocus(), edit->Handle);
  SendMessageW(edit->Handle, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(journal.entries, Entries{"click"});
}

}  // namespace
