#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "message_pump.h"
#include "resource_count.h"
#include "timer.h"

namespace {

using TimerPtr = TOwned<TTimer>;

struct TickCounter {
  int ticks = 0;
  TObj* sender = nullptr;
  void Tick(TObj* from) {
    ++ticks;
    sender = from;
  }
  TimerPtr Make(std::int32_t ms) {
    TimerPtr timer(CreateTimer(ms));
    timer->OnTimer = MakeMethod<&TickCounter::Tick, TObj*>(this);
    return timer;
  }
};

// Lets 10 ticks of a fresh 10 ms timer go by: enough for any other short timer to tick.
void PumpAWhile() {
  TickCounter reference;
  TimerPtr timer = reference.Make(10);
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return reference.ticks >= 10; }));
}

// This process's timer windows only: other test programs may run timers beside this one.
std::vector<HWND> TimerWindows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (process == GetCurrentProcessId() && std::wstring(name) == L"obj_Timer")
          reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(TimerTest, CreateTimerTurnsAnIntervalOfZeroOrLessIntoOneSecond) {
  EXPECT_EQ(TimerPtr(CreateTimer(0))->Interval(), 1000);
  EXPECT_EQ(TimerPtr(CreateTimer(-5))->Interval(), 1000);
  EXPECT_EQ(TimerPtr(CreateTimer(1))->Interval(), 1);
}

TEST(TimerTest, RunningTimerTicksWithItselfAsSenderUntilStopped) {
  TickCounter counter;
  TimerPtr timer = counter.Make(10);
  EXPECT_EQ(timer->TimerId(), 0u);
  timer->SetEnabled(true);
  EXPECT_NE(timer->TimerId(), 0u);
  ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 3; }));
  EXPECT_EQ(counter.sender, timer.get());

  timer->SetEnabled(false);
  EXPECT_EQ(timer->TimerId(), 0u);
  const int ticksWhenStopped = counter.ticks;
  PumpAWhile();
  EXPECT_EQ(counter.ticks, ticksWhenStopped);

  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return counter.ticks > ticksWhenStopped; }));
}

TEST(TimerTest, IntervalChangeRestartsARunningTimerAndOnlyStoresOnAStoppedOne) {
  TickCounter counter;
  TimerPtr timer = counter.Make(3600000);
  timer->SetInterval(10);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->TimerId(), 0u);

  timer->SetInterval(3600000);
  timer->SetEnabled(true);
  timer->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 2; }));

  timer->SetInterval(3600000);
  EXPECT_TRUE(timer->Enabled());
  const int ticksAtChange = counter.ticks;
  PumpAWhile();
  EXPECT_EQ(counter.ticks, ticksAtChange);
}

TEST(TimerTest, TimerWindowLivesFromTheFirstStartUntilTheLastTimerGoes) {
  ASSERT_TRUE(TimerWindows().empty());
  const std::size_t windowsBefore = CountWindows();
  TimerPtr first(CreateTimer(1000));
  TimerPtr second(CreateTimer(1000));
  EXPECT_TRUE(TimerWindows().empty());

  first->SetEnabled(true);
  second->SetEnabled(true);
  const std::vector<HWND> shared = TimerWindows();
  ASSERT_EQ(shared.size(), 1u);
  EXPECT_FALSE(IsWindowVisible(shared[0]));

  first->SetEnabled(false);
  first.reset();
  EXPECT_EQ(TimerWindows(), shared);
  second.reset();
  EXPECT_TRUE(TimerWindows().empty());
  EXPECT_EQ(CountWindows(), windowsBefore);

  TickCounter counter;
  TimerPtr third = counter.Make(10);
  third->SetEnabled(true);
  EXPECT_EQ(TimerWindows().size(), 1u);
  ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 1; }));
}

TEST(TimerTest, FreedTimerTicksNoMore) {
  // The other timer is made first: it keeps the shared window, and it cannot take over the
  // freed timer's address (and so its identifier).
  TickCounter counter, reference;
  TimerPtr other = reference.Make(10);
  TimerPtr timer = counter.Make(10);
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 1; }));
  timer.reset();
  const int ticksWhenFreed = counter.ticks;
  other->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return reference.ticks >= 10; }));
  EXPECT_EQ(counter.ticks, ticksWhenFreed);
}

struct SelfFreeing {
  TTimer* timer = CreateTimer(10);
  int ticks = 0;
  void Tick(TObj*) {
    ++ticks;
    TObj::Free(timer);
  }
};

TEST(TimerTest, HandlerMayFreeItsOwnTimerAndWithItTheTimerWindow) {
  SelfFreeing self;
  self.timer->OnTimer = MakeMethod<&SelfFreeing::Tick, TObj*>(&self);
  self.timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return self.ticks >= 1; }));
  EXPECT_TRUE(TimerWindows().empty());
  PumpAWhile();
  EXPECT_EQ(self.ticks, 1);
}

}  // namespace
