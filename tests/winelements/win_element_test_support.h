#pragma once
// Windowed elements on a live form with dispatch on, and a probe element that records what its
// links deliver as "index:value".

#include <string>
#include <vector>

#include "../elements/probes.h"
#include "live_form.h"

using Got = std::vector<std::string>;

struct Probe : TObject {
  Got got;
  void doRecord(TData& data, std::uint16_t index) {
    got.push_back(std::to_string(index) + ":" + (data.DataType == dtNull ? "NULL" : ToStr(data)));
  }
  TNd_Event Link(std::uint16_t index) { return MakeEvent<&Probe::doRecord>(this, index); }
};

class WinElementTest : public DispatchTest {
protected:
  TestForm form;
  Probe probe;
};
