#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "message_pump.h"
#include "probes.h"
#include "timer_element.h"

namespace {

// An element that runs a test's code on each call.
struct TAction : TObject {
  std::function<void()> Action;
  int Calls = 0;
  void doRun(TData&, std::uint16_t) {
    ++Calls;
    if (Action) Action();
  }
  TNd_Event Link() { return MakeEvent<&TAction::doRun>(this, 0); }
};

class TimerElementTest : public DispatchTest {
protected:
  void SetUp() override {
    DispatchTest::SetUp();
    timer.SetInterval(10);
    timer.onTimer = ticks.Link();
    timer.onStop = stops.Link();
  }
  void Start() { timer.doStart(signal, 0); }

  TNdTimer timer;
  TAction ticks, stops;
  TData signal;
};

TEST_F(TimerElementTest, StopCountOneTicksOnceThenStaysStoppedAndStopAlwaysReports) {
  timer.SetStopCount(1);
  int ticksAtStop = 0;
  stops.Action = [&] { ticksAtStop = ticks.Calls; };
  Start();
  ASSERT_TRUE(PumpUntil([&] { return stops.Calls == 1; }));
  EXPECT_EQ(ticksAtStop, 1);
  EXPECT_FALSE(timer.Enabled());
  timer.doStop(signal, 1);
  EXPECT_EQ(stops.Calls, 2);
}

TEST_F(TimerElementTest, StartAfterTheSecondOfThreeTicksRearmsTheWholeCountdown) {
  timer.SetStopCount(3);
  Start();
  ASSERT_TRUE(PumpUntil([&] { return ticks.Calls == 2; }));
  Start();
  ASSERT_TRUE(PumpUntil([&] { return stops.Calls == 1; }));
  EXPECT_EQ(ticks.Calls, 5);
}

TEST_F(TimerElementTest, StartFromWithinTheLastTickStillEndsStopped) {
  timer.SetStopCount(1);
  ticks.Action = [&] { Start(); };
  Start();
  ASSERT_TRUE(PumpUntil([&] { return stops.Calls == 1; }));
  EXPECT_EQ(ticks.Calls, 1);
  EXPECT_FALSE(timer.Enabled());
}

// The first onTimer chain runs a nested loop, as a modal box does, until three more ticks of
// its timer were delivered into it. Queued passes run inside the dispatch that started the
// chain, so the count taken when it returns holds all of them and no later tick.
TEST_F(TimerElementTest, TicksDuringAChainAreDroppedOrEachRunOnePassAfterIt) {
  for (const int queueTicks : {0, 1}) {
    TAction chain;
    int nestedTicks = 0;
    chain.Action = [&] {
      if (chain.Calls == 1)
        PumpUntil([&] { return nestedTicks == 3; },
                  [&](const MSG& msg) { nestedTicks += msg.hwnd && msg.message == WM_TIMER; });
    };
    timer.QueueTicks = static_cast<std::uint8_t>(queueTicks);
    timer.onTimer = chain.Link();
    Start();
    ASSERT_TRUE(PumpUntil([&] { return nestedTicks == 3; }));
    timer.doStop(signal, 1);
    EXPECT_EQ(chain.Calls, queueTicks == 0 ? 1 : 4);
  }
}

}  // namespace
