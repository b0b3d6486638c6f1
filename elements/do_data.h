#pragma once
// Turns any event into one that carries a fixed value.

#include <cstdint>

#include "data.h"
#include "event.h"
#include "object.h"

class TNdDoData : public TObject {
public:
  TData Data;           // the value sent, unless DataInput is linked
  TNd_Event DataInput;  // a linked source's value replaces Data
  TNd_Event onData;

  void doData(TData& data, std::uint16_t index);
};
