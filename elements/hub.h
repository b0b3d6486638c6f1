#pragma once
// Fans one event out to its outputs in order, each output getting its own copy of the value.

#include <cstdint>
#include <vector>

#include "data.h"
#include "event.h"
#include "object.h"

class TNdHub : public TObject {
public:
  std::uint8_t OutCount = 0;
  std::uint8_t InCount = 0;  // input points offered to links; all run doEvent alike
  std::vector<TNd_Event> onEvent;

  // Counts above 255 are cut to 255, so OutCount and onEvent always agree.
  void SetOutCount(std::uint16_t n);

  void doEvent(TData& data, std::uint16_t index);
};
