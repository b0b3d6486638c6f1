#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace {

const TDispatchProc startEventProc = CallEventProc;  // taken before main
const TDispatchProc startDataProc = CallDataProc;

struct Recorder {
  std::vector<std::string> log;
  std::vector<TData> records;
  void doIn(TData& d, std::uint16_t index) {
    log.push_back(std::to_string(index) + ":" + std::to_string(d.DataType) + ":" + ToStr(d));
    records.push_back(d);
  }
};

struct Forwarder {
  TNd_Event onOut;
  TData value;
  void doString(TData& d, std::uint16_t) { DeferString(d, onOut, ToStr(d) + "+"); }
  void doEvent(TData& d, std::uint16_t) { DeferEvent(d, onOut); }
  void doData(TData& d, std::uint16_t) { DeferData(d, onOut, value); }
};

using EventTest = RuntimeTest;

TEST_F(EventTest, RaisesReachTheTargetOnlyWhileDispatchIsOn) {
  EXPECT_EQ(startEventProc, &NoDispatch);
  EXPECT_EQ(startDataProc, &NoDispatch);
  Recorder r;
  const TNd_Event link = MakeEvent<&Recorder::doIn>(&r, 3);
  RaiseEvent(link);
  RaiseInteger(link, -12);
  RaiseString(link, "abc");
  TData source;
  TData further;
  MakeString(source, "data");
  source.RealValue = 2.5;
  source.Next = &further;
  RaiseData(link, source);
  RaiseString(TNd_Event(), "unlinked");
  RemoveDispatchers();
  RaiseString(link, "lost");
  EXPECT_EQ(r.log, (std::vector<std::string>{"3:0:", "3:1:-12", "3:2:abc", "3:2:data"}));
  EXPECT_TRUE(r.records[3].RealValue == 2.5 && r.records[3].Next == &further);
}

TEST_F(EventTest, DeferredRecordsReachTheNextElementUnmarked) {
  Recorder r;
  Forwarder strings{MakeEvent<&Recorder::doIn>(&r, 1), {}};
  Forwarder events{MakeEvent<&Recorder::doIn>(&r, 2), {}};
  Forwarder datas{MakeEvent<&Recorder::doIn>(&r, 3), {}};
  MakeInteger(datas.value, 77);
  datas.value.StrValue = "from value";
  RaiseString(MakeEvent<&Forwarder::doString>(&strings, 0), "a");
  RaiseInteger(MakeEvent<&Forwarder::doEvent>(&events, 0), 5);
  RaiseString(MakeEvent<&Forwarder::doData>(&datas, 0), "replaced");
  EXPECT_EQ(r.log, (std::vector<std::string>{"1:2:a+", "2:0:", "3:1:77"}));
  EXPECT_EQ(r.records[1].IntValue, 5) << "DeferEvent changes only the tag";
  EXPECT_EQ(r.records[2].StrValue, "from value") << "DeferData copies every field";
}

TEST_F(EventTest, AChainEndsBeforeTheRaiserGoesOn) {
  Recorder r;
  Forwarder second{MakeEvent<&Recorder::doIn>(&r, 2), {}};
  Forwarder first{MakeEvent<&Forwarder::doString>(&second, 0), {}};
  RaiseString(MakeEvent<&Forwarder::doString>(&first, 0), "v");
  RaiseString(MakeEvent<&Recorder::doIn>(&r, 9), "w");
  EXPECT_EQ(r.log, (std::vector<std::string>{"2:2:v++", "9:2:w"}));
}

TEST_F(EventTest, DeferringToNothingEndsWithTheMarkCleared) {
  Forwarder f;  // onOut unlinked
  TData d;
  MakeString(d, "x");
  DispatchEvent(MakeEvent<&Forwarder::doString>(&f, 0), d);
  EXPECT_EQ(d.DataType, dtString);
  EXPECT_EQ(d.StrValue, "x+");
  // The single-call dispatcher of data reads neither follows nor clears the mark.
  Recorder r;
  f.onOut = MakeEvent<&Recorder::doIn>(&r, 0);
  DispatchOnce(MakeEvent<&Forwarder::doString>(&f, 0), d);
  EXPECT_TRUE(r.log.empty());
  EXPECT_EQ(d.DataType, dtString | DeferredEventBit);
}

struct ChainProbe {
  int calls = 0;
  std::uintptr_t firstLocal = 0;
  std::uintptr_t lastLocal = 0;
  const TData* firstRecord = nullptr;
  const TData* lastRecord = nullptr;
} probe;

struct ChainLink {
  TNd_Event onNext;
  void doForward(TData& d, std::uint16_t) {
    volatile char local = 0;
    probe.lastLocal = reinterpret_cast<std::uintptr_t>(&local);
    probe.lastRecord = &d;
    if (++probe.calls == 1) {
      probe.firstLocal = probe.lastLocal;
      probe.firstRecord = &d;
    }
    DeferEvent(d, onNext);
  }
};

// Returns how far the stack of the last element lies from that of the first.
std::uintptr_t runChain(std::size_t length) {
  std::vector<ChainLink> chain(length);
  for (std::size_t i = 0; i + 1 < length; ++i) {
    chain[i].onNext = MakeEvent<&ChainLink::doForward>(&chain[i + 1], 0);
  }
  probe = ChainProbe();
  RaiseEvent(MakeEvent<&ChainLink::doForward>(&chain[0], 0));
  EXPECT_EQ(probe.calls, static_cast<int>(length)) << "the chain ends before the raise returns";
  EXPECT_EQ(probe.lastRecord, probe.firstRecord) << "the record is reused, not copied";
  return std::max(probe.lastLocal, probe.firstLocal) - std::min(probe.lastLocal, probe.firstLocal);
}

TEST_F(EventTest, ALongChainRunsAtTheDepthOfAShortOne) {
  const std::uintptr_t shortSpread = runChain(2);
  EXPECT_EQ(runChain(10000), shortSpread);
}

}  // namespace
