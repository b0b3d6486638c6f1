#include "hub.h"
#include "insert_delete.h"
#include "probes.h"

namespace {

using Log = std::vector<std::string>;
using Hub = DispatchTest;

// Output 0's chain edits its copy on the way and must have ended before output 1 starts.
TEST_F(Hub, OutputsFireInOrderEachWithItsOwnCopyAndItsWholeChain) {
  TNdHub hub;
  TNdInsert edit;
  TProbe probes[3];
  Log log;
  for (int i = 0; i < 3; ++i) {
    probes[i].Log = &log;
    probes[i].Name = std::to_string(i);
  }
  edit.SubStr = ".";
  edit.Position = 2;
  edit.onInsert = probes[0].Link();
  hub.SetOutCount(3);
  hub.onEvent[0] = MakeEvent<&TNdInsert::doInsert>(&edit, 0);
  hub.onEvent[1] = probes[1].Link();
  hub.onEvent[2] = probes[2].Link();
  TData arriving;
  MakeString(arriving, "12345");
  hub.doEvent(arriving, 0);
  EXPECT_EQ(log, (Log{"0:1.2345", "1:12345", "2:12345"}));
  EXPECT_EQ(arriving.StrValue, "12345");
}

// Shrinks the hub it is wired behind.
struct TShrink : TObject {
  TNdHub* Hub = nullptr;
  void doReceive(TData&, std::uint16_t) { Hub->SetOutCount(1); }
};

// The chain behind an output may drop the hub's later outputs; they are then not raised.
TEST_F(Hub, OutputsRemovedWhileRunningAreNotRaised) {
  TNdHub hub;
  TShrink shrink;
  TProbe late;
  shrink.Hub = &hub;
  hub.SetOutCount(3);
  hub.onEvent[0] = MakeEvent<&TShrink::doReceive>(&shrink, 0);
  hub.onEvent[2] = late.Link();
  RaiseString(MakeEvent<&TNdHub::doEvent>(&hub, 0), "x");
  EXPECT_TRUE(late.Received.empty());
}

}  // namespace
