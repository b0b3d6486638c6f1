#pragma once
// A hidden form with dispatch on (under Xvfb a visible top-level window takes about two
// seconds to destroy), and a probe element that records what its links deliver.

#include <windows.h>

#include <string>
#include <vector>

#include "../elements/probes.h"
#include "control.h"

using Got = std::vector<std::string>;

struct Probe : TObject {
  Got got;  // "index:value"
  void doRecord(TData& data, std::uint16_t index) {
    got.push_back(std::to_string(index) + ":" + (data.DataType == dtNull ? "NULL" : ToStr(data)));
  }
  void answerZero(TData& data, std::uint16_t) { MakeInteger(data, 0); }
  TNd_Event Link(std::uint16_t index) { return MakeEvent<&Probe::doRecord>(this, index); }
};

class WinElementTest : public DispatchTest {
protected:
  void SetUp() override {
    DispatchTest::SetUp();
    form->SetVisible(false);
    form->EnsureWindow();
  }

  TOwned<TControl> form{CreateFormControl(nullptr, "test")};
  Probe probe;
};
