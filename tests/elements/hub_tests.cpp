#include "hub.h"
#include "insert_delete.h"
#include "probes.h"

namespace {

using Log = std::vector<std::string>;

class HubTest : public DispatchTest {
protected:
  TNdHub hub;
  Log log;
  TProbe probes[5];
  void SetUp() override {
    DispatchTest::SetUp();
    for (int i = 0; i < 5; ++i) {
      probes[i].Log = &log;
      probes[i].Name = std::to_string(i);
    }
  }
  TNd_Event In(std::uint16_t point = 0) { return MakeEvent<&TNdHub::doEvent>(&hub, point); }
};

// Raises the hub once more from inside its output 0, the first time only.
class TReenter : public TObject {
public:
  TNd_Event Hub;
  Log* Out = nullptr;
  void doReceive(TData& data, std::uint16_t) {
    Out->push_back("a:" + data.StrValue);
    if (data.StrValue == "outer") RaiseString(Hub, "inner");
  }
};

// Shrinks the hub it is wired behind.
class TShrink : public TObject {
public:
  TNdHub* Hub = nullptr;
  void doReceive(TData&, std::uint16_t) { Hub->SetOutCount(1); }
};

TEST_F(HubTest, OutputsFireInOrderAndUnlinkedOnesAreSkipped) {
  hub.SetOutCount(5);
  for (int i : {0, 1, 3, 4}) hub.onEvent[i] = probes[i].Link();
  RaiseString(In(0), "x");
  RaiseString(In(1), "y");
  EXPECT_EQ(log, (Log{"0:x", "1:x", "3:x", "4:x", "0:y", "1:y", "3:y", "4:y"}));
}

TEST_F(HubTest, SetOutCountKeepsLinksAndBoundsTheCount) {
  hub.SetOutCount(3);
  for (int i = 0; i < 3; ++i) hub.onEvent[i] = probes[i].Link();
  hub.SetOutCount(1);
  hub.SetOutCount(2);
  EXPECT_EQ(hub.onEvent[1].Code, nullptr);
  RaiseString(In(), "x");
  EXPECT_EQ(log, (Log{"0:x"}));
  hub.SetOutCount(0);
  RaiseString(In(), "x");
  EXPECT_EQ(log.size(), 1u);
  hub.SetOutCount(300);
  EXPECT_EQ(hub.OutCount, 255);
  EXPECT_EQ(hub.onEvent.size(), 255u);
}

TEST_F(HubTest, EachOutputGetsAFreshCopyOfTheArrivingValue) {
  TNdInsert consumer;
  consumer.SubStr = ".";
  consumer.Position = 2;
  consumer.onInsert = probes[0].Link();
  hub.SetOutCount(3);
  hub.onEvent[0] = MakeEvent<&TNdInsert::doInsert>(&consumer, 0);
  hub.onEvent[1] = probes[1].Link();
  hub.onEvent[2] = probes[2].Link();
  TData arriving = StringData("12345");
  hub.doEvent(arriving, 0);
  EXPECT_EQ(log, (Log{"0:1.2345", "1:12345", "2:12345"}));
  EXPECT_EQ(arriving.DataType, dtString);
  EXPECT_EQ(arriving.StrValue, "12345");
}

TEST_F(HubTest, NestedRunCompletesBeforeTheOuterOutputOne) {
  TReenter reenter;
  reenter.Hub = In();
  reenter.Out = &log;
  hub.SetOutCount(2);
  hub.onEvent[0] = MakeEvent<&TReenter::doReceive>(&reenter, 0);
  hub.onEvent[1] = probes[1].Link();
  RaiseString(In(), "outer");
  EXPECT_EQ(log, (Log{"a:outer", "a:inner", "1:inner", "1:outer"}));
}

TEST_F(HubTest, OutputsRemovedWhileRunningAreNotRaised) {
  TShrink shrink;
  shrink.Hub = &hub;
  hub.SetOutCount(3);
  hub.onEvent[0] = MakeEvent<&TShrink::doReceive>(&shrink, 0);
  hub.onEvent[1] = probes[1].Link();
  hub.onEvent[2] = probes[2].Link();
  RaiseString(In(), "x");
  EXPECT_TRUE(log.empty());
}

}  // namespace
