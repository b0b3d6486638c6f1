#include "timer_element.h"

TNdTimer::TNdTimer() : timer(CreateTimer(1000)) {
  timer->OnTimer = MakeMethod<&TNdTimer::Tick, TObj*>(this);
}

void TNdTimer::SetStopCount(std::int32_t count) {
  stopCount = count;
  remainingTicks = count;
}

// Starting a running timer only rearms the countdown: the current period runs on.
void TNdTimer::doStart(TData&, std::uint16_t) {
  remainingTicks = stopCount;
  timer->SetEnabled(true);
}

void TNdTimer::doStop(TData&, std::uint16_t) {
  timer->SetEnabled(false);
  RaiseEvent(onStop);
}

void TNdTimer::Tick(TObj*) {
  // A tick that arrives while a chain runs further down the stack (a modal loop in onTimer)
  // is only counted, or dropped, here; the running chain picks counted ones up.
  if (++pendingTicks > 1) {
    if (QueueTicks == 0) --pendingTicks;
    return;
  }
  do {
    bool stopAfterPass = false;
    // A countdown of 0 goes to -1 and never reaches 0 again: the timer runs until stopped.
    if (remainingTicks >= 0) stopAfterPass = --remainingTicks == 0;
    RaiseEvent(onTimer);
    if (stopAfterPass) {
      pendingTicks = 0;
      timer->SetEnabled(false);
      RaiseEvent(onStop);
    }
    if (pendingTicks > 0) --pendingTicks;
  } while (pendingTicks > 0);
}
