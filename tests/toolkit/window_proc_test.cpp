#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "live_form.h"
#include "message_pump.h"
#include "timer.h"

namespace {

using Entries = std::vector<std::string>;

constexpr UINT Probe = WM_APP + 1;
constexpr UINT Stopped = WM_APP + 2;

Entries Seen;

bool Log(const char* name, const TMessage& msg) {
  if (msg.Msg == Probe || msg.Msg == Stopped) Seen.push_back(name + std::to_string(msg.Msg - WM_APP));
  return false;
}
bool FirstHook(TControl*, TMessage& msg, LRESULT&) { return Log("first ", msg); }
bool EarlierHook(TControl*, TMessage& msg, LRESULT&) { return Log("earlier ", msg); }
bool LaterHook(TControl*, TMessage& msg, LRESULT& result) {
  result = 7;
  return Log("later ", msg) || msg.Msg == Stopped;
}
bool LogOnMessage(void* name, TMessage& msg, LRESULT&) {
  return Log(static_cast<const char*>(name), msg);
}

// Once the application terminates, only the hooks meant to run after it still hear messages.
TEST(WindowProc, DispatchOrderAndTermination) {
  TestForm form;
  TOwned<TControl> app(CreateApplicationControl("app"));
  form->AddMessageHook(EarlierHook);
  form->AddMessageHook(LaterHook, true);
  form->AddMessageHook(EarlierHook);  // no duplicate
  form->OnMessage = {LogOnMessage, const_cast<char*>("own ")};
  app->OnMessage = {LogOnMessage, const_cast<char*>("app ")};
  const THookProc first = std::exchange(FirstMessageHook, FirstHook);
  AppControl = app.get();
  AppRunning = true;
  SendMessageW(form->Handle, Probe, 0, 0);
  EXPECT_EQ(SendMessageW(form->Handle, Stopped, 0, 0), 7);
  AppRunning = false;
  AppTerminated = true;
  SendMessageW(form->Handle, Probe, 0, 0);
  AppTerminated = false;
  AppControl = nullptr;
  FirstMessageHook = first;
  EXPECT_EQ(Seen, (Entries{"first 1", "app 1", "own 1", "later 1", "earlier 1", "first 2",
                           "app 2", "own 2", "later 2", "first 1", "own 1", "later 1"}));
}

void NoteDestroyed(void*, TObj*) { Seen.push_back("destroyed"); }
void NoteWindowGone(void*, TObj*) { Seen.push_back("window destroyed"); }

void FreeSender(void*, TObj* sender) {
  sender->Free();
  Seen.push_back(Seen.empty() ? "still here" : "gone");
}

TEST(WindowProc, ControlFreedInsideItsOwnMessageGoesWhenTheMessageReturns) {
  TestForm form;
  Seen.clear();
  TControl* button = CreateButtonControl(form.get(), "x");
  button->SetSize(60, 0);  // BM_CLICK clicks only when its mouse point lies inside the button
  button->OnClick = {FreeSender, nullptr};
  button->OnDestroy = {NoteDestroyed, nullptr};
  const HWND window = button->EnsureWindow();
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_EQ(Seen, (Entries{"still here", "destroyed"}));
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

bool RefuseCreationOnce(void* refusals, TMessage& msg, LRESULT& result) {
  if (msg.Msg != WM_NCCREATE || *static_cast<int*>(refusals) == 0) return false;
  --*static_cast<int*>(refusals);
  result = FALSE;
  return true;
}

// A main window whose creation fails (no display, say) also gets WM_NCDESTROY: its object must
// outlive that, or every element built on it works on freed memory. When Windows destroys a
// made one, the object goes with it, after its children heard that their windows went.
TEST(WindowProc, MainWindowObjectOutlivesAFailedCreationAndGoesWithItsDestroyedWindow) {
  Seen.clear();
  TControl* form = CreateFormControl(nullptr, "main");
  form->SetVisible(false);
  TControl* label = CreateLabelControl(form, "l");
  int refusals = 1;
  form->OnMessage = {RefuseCreationOnce, &refusals};
  form->OnDestroy = {NoteDestroyed, nullptr};
  label->OnWindowDestroyed = {NoteWindowGone, nullptr};
  EXPECT_EQ(label->EnsureWindow(), nullptr);
  form->SetCaption("still here");
  EXPECT_EQ(form->GetCaption(), "still here");
  EXPECT_TRUE(Seen.empty());
  ASSERT_NE(label->EnsureWindow(), nullptr);
  DestroyWindow(form->Handle);
  EXPECT_EQ(Seen, (Entries{"window destroyed", "destroyed"}));
}

struct Ticks {
  TTimer* timer = CreateTimer(10);
  bool freeOnTick = false;
  int count = 0;
  void Tick(TObj*) {
    ++count;
    if (freeOnTick) TObj::Free(std::exchange(timer, nullptr));
  }
};

// The kept timer holds the shared timer window. Windows swallows a crash in a timer callback, so
// a stale tick of the freed timer shows as a timer message that ticks nobody.
TEST(Timer, TimerFreedInItsOwnTickTicksNoMore) {
  Ticks kept, freed;
  freed.freeOnTick = true;
  for (Ticks* t : {&kept, &freed}) {
    t->timer->OnTimer = MakeMethod<&Ticks::Tick, TObj*>(t);
    t->timer->SetEnabled(true);
  }
  ASSERT_TRUE(PumpUntil([&] { return freed.count > 0; }));
  const int keptAt = kept.count;
  int timerMessages = 0;
  ASSERT_TRUE(PumpUntil([&] { return kept.count >= keptAt + 10; },
                        [&](const MSG& msg) { timerMessages += msg.message == WM_TIMER; }));
  EXPECT_EQ(timerMessages, kept.count - keptAt);
  EXPECT_EQ(freed.count, 1);
  TObj::Free(kept.timer);
}

}  // namespace
