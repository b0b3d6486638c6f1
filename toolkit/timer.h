#pragma once
// A periodic platform timer with a tick handler. Every timer ticks on one shared hidden window,
// made at the first start and destroyed with the last timer; ticks arrive whenever the thread
// takes messages.

#include <cstdint>

#include "obj.h"

class TTimer : public TObj {
public:
  std::int32_t Interval() const { return interval; }
  // A change on a running timer stops and starts it, so the period restarts from the change.
  void SetInterval(std::int32_t ms);

  bool Enabled() const { return enabled; }
  // A start whose platform timer could not be made leaves Enabled true with TimerId 0.
  void SetEnabled(bool value);

  std::uintptr_t TimerId() const { return timerId; }  // non-zero while the platform timer runs

  TNotifyEvent OnTimer;  // (data, the timer); the handler may free the timer

protected:
  explicit TTimer(std::int32_t ms);
  ~TTimer() override;
  // Those told of the end must not hear a tick any more.
  void BeforeDestruction() override { SetEnabled(false); }

private:
  friend TTimer* CreateTimer(std::int32_t ms);

  std::int32_t interval;
  bool enabled = false;
  std::uintptr_t timerId = 0;
};

// Not running; an interval of 0 or less gives 1000 ms.
TTimer* CreateTimer(std::int32_t ms);
