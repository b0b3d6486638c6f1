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

class TimerElement : public DispatchTest {
protected:
  void SetUp() override {
    DispatchTest::SetUp();
    timer.SetInterval(10);
    timer.onTimer = ticks.Link();
    timer.onStop = stops.Link();
  }
  TNdTimer timer;
  TAction ticks, stops;
  TData signal;
};

// A second start rearms the whole count, and an explicit stop still reports.
TEST_F(TimerElement, StopCountEndsTheTimerAfterThatManyTicks) {
  int ticksAtStop = 0;
  stops.Action = [&] { ticksAtStop = ticks.Calls; };
  timer.SetStopCount(3);
  timer.doStart(signal, 0);
  ASSERT_TRUE(PumpUntil([&] { return ticks.Calls == 1; }));
  timer.doStart(signal, 0);
  ASSERT_TRUE(PumpUntil([&] { return stops.Calls == 1; }));
  EXPECT_EQ(ticksAtStop, 4);
  EXPECT_FALSE(timer.Enabled());
  timer.doStop(signal, 1);
  EXPECT_EQ(stops.Calls, 2);
}

// The first chain runs a nested loop, as a modal box does, until three more ticks were
// delivered into it. Queued passes run before the first dispatch returns, so the count taken
// afterwards holds all of them and no later tick.
TEST_F(TimerElement, TicksDuringAChainAreDroppedOrEachRunOnePassAfterIt) {
  for (const int queueTicks : {0, 1}) {
    SCOPED_TRACE(queueTicks);
    int nestedTicks = 0;
    ticks.Calls = 0;
    ticks.Action = [&] {
      if (ticks.Calls == 1)
        PumpUntil([&] { return nestedTicks == 3; },
                  [&](const MSG& msg) { nestedTicks += msg.hwnd && msg.message == WM_TIMER; });
    };
    timer.QueueTicks = static_cast<std::uint8_t>(queueTicks);
    timer.doStart(signal, 0);
    ASSERT_TRUE(PumpUntil([&] { return nestedTicks == 3; }));
    timer.doStop(signal, 1);
    EXPECT_EQ(ticks.Calls, queueTicks == 0 ? 1 : 4);
  }
}

}  // namespace
