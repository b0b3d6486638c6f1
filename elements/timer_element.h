#pragma once
// The timer element: raises onTimer on every period of a toolkit timer, can stop itself after a
// number of ticks, and guards its tick chain against ticks delivered by a nested message loop.

#include <cstdint>

#include "data.h"
#include "event.h"
#include "object.h"
#include "obj.h"
#include "timer.h"

class TNdTimer : public TObject {
public:
  TNdTimer();

  std::int32_t Interval() const { return timer->Interval(); }
  void SetInterval(std::int32_t ms) { timer->SetInterval(ms); }
  bool Enabled() const { return timer->Enabled(); }
  void SetEnabled(bool value) { timer->SetEnabled(value); }  // leaves the countdown alone

  std::int32_t StopCount() const { return stopCount; }
  void SetStopCount(std::int32_t count);  // 0 or less: never stops by itself

  std::uint8_t QueueTicks = 0;  // not 0: ticks arriving during a chain each run one pass later
  TNd_Event onTimer;
  TNd_Event onStop;

  void doStart(TData& data, std::uint16_t index);  // point 0
  void doStop(TData& data, std::uint16_t index);   // point 1

private:
  void Tick(TObj* sender);

  std::int32_t pendingTicks = 0;  // non-zero while a tick chain runs
  TOwned<TTimer> timer;
  std::int32_t remainingTicks = 0;
  std::int32_t stopCount = 0;
};
