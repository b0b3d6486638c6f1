#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "event.h"
#include "stream.h"

namespace {

const TDispatchProc startEventProc = CallEventProc;  // taken before main
const TNd_Event unlinked;

TData record(std::uint8_t tag, std::int32_t i = 0, const char* s = "", double r = 0, TData* next = nullptr) {
  return {.DataType = tag, .IntValue = i, .StrValue = s, .RealValue = r, .Next = next};
}

TEST(DataTest, ConversionsFollowTheTag) {
  const std::tuple<TData, std::int32_t, double, std::string, std::int32_t> cases[] = {
      {record(dtInteger, -5), -5, -5.0, "-5", -5}, {record(dtString, 0, "12,5"), 12, 125.0, "12,5", 12},
      // A scan of 0 is an index only when the text starts with the digit 0.
      {record(dtString, 0, "0"), 0, 0.0, "0", 0}, {record(dtString, 0, "-0"), 0, 0.0, "-0", -1},
      {record(dtReal, 0, "", 12.5), 12, 12.5, "12.5", 12}, {record(dtBreak, 9, "9", 9.0), 0, 0.0, "", -1},
      // The deferred bit matches no tag.
      {record(dtInteger | DeferredEventBit, 5, "5", 5.0), 0, 0.0, "", -1},
  };
  for (const auto& [d, integer, real, text, index] : cases)
    EXPECT_EQ(std::tuple(ToInteger(d), ToReal(d), ToStr(d), ToIndex(d)),
              std::tuple(integer, real, text, index));
}

// Nearest with ties to even, then the low 32 bits; what has no 64-bit rounding gives 0.
TEST(DataTest, RealsRoundToEvenAndWrap) {
  const std::pair<double, std::int32_t> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-1.5, -2}, {0.5000000000000001, 1}, {4294967297.0, 1},
      {2147483648.0, INT32_MIN}, {9223372036854774784.0, -1024}, {-4611686018427387904.0 - 1024.0, -1024},
      {9223372036854775808.0, 0}, {-9223372036854777856.0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(std::pair(ToInteger(record(dtReal, 0, "", value)), ToIndex(record(dtReal, 0, "", value))),
              std::pair(expected, expected)) << value;
}

TEST(DataTest, MakersClearLinksTagsMatchWholeAndStreamsStayInBounds) {
  TNd_Event event;
  TData d = record(dtInteger, 0, "", 0.0, &d);
  d.NextEvent = &event;
  MakeString(d, "abc");
  EXPECT_TRUE(d.DataType == dtString && d.NextEvent == nullptr && d.Next == nullptr);
  EXPECT_TRUE(IsInteger(record(dtInteger)) && !IsInteger(record(dtInteger | DeferredEventBit)));
  TMemoryStream stream({1, 2, 3});
  unsigned char buffer[4] = {};
  stream.Seek(2);
  EXPECT_EQ(stream.Read(buffer, 4), 1);
  stream.Seek(99);
  EXPECT_EQ(stream.Position(), 3);
}

// A test element: notes what reaches it (the input's index in the thousands of the integer),
// answers reads with its value and forwards on onOut.
struct Node {
  std::vector<TData> got{};
  TData value{};
  TNd_Event onOut{};
  void doIn(TData& d, std::uint16_t index) {
    if (got.size() == 100) throw std::runtime_error("the dispatch runs away");
    got.push_back(d);
    got.back().IntValue += index * 1000;
  }
  void doGet(TData& d, std::uint16_t index) {
    doIn(d, index);
    d = value;
  }
  void doString(TData& d, std::uint16_t) { DeferString(d, onOut, ToStr(d) + "+"); }
  void doEvent(TData& d, std::uint16_t) { DeferEvent(d, onOut); }
};

// Dispatch is process-wide: each test starts with it on and leaves it off, as the program starts.
class RuntimeTest : public ::testing::Test {
protected:
  void SetUp() override { InstallDispatchers(); }
  void TearDown() override { RemoveDispatchers(); }
};

TEST_F(RuntimeTest, DeferredRecordsReachTheNextElementUnmarkedAndNothingWhileDispatchIsOff) {
  EXPECT_EQ(startEventProc, &NoDispatch);
  Node r;
  Node strings{.onOut = MakeEvent<&Node::doIn>(&r, 1)};
  Node events{.onOut = MakeEvent<&Node::doIn>(&r, 2)};
  TData further;
  RaiseData(MakeEvent<&Node::doString>(&strings, 0), record(dtString, 0, "a", 0.0, &further));
  RaiseInteger(MakeEvent<&Node::doEvent>(&events, 0), 5);
  RaiseData(MakeEvent<&Node::doIn>(&r, 3), record(dtString, 0, "data", 0.0, &further));
  // A data read calls its source once and follows no deferred record: the mark hides it.
  TData d;
  EXPECT_EQ(ReadString(d, MakeEvent<&Node::doString>(&strings, 0), ""), "");
  RemoveDispatchers();
  RaiseString(MakeEvent<&Node::doIn>(&r, 3), "lost");
  EXPECT_EQ(ReadString(d, MakeEvent<&Node::doGet>(&r, 0), "default"), "") << "empty, not the default";
  ASSERT_EQ(r.got.size(), 3u);
  EXPECT_TRUE(r.got[0].DataType == dtString && r.got[0].StrValue == "a+" && r.got[0].Next == nullptr);
  EXPECT_TRUE(r.got[1].DataType == dtNull && r.got[1].IntValue == 2005) << "only the tag changes";
  EXPECT_TRUE(r.got[2].StrValue == "data" && r.got[2].Next == &further);
}

std::vector<std::uintptr_t> chainStack;  // where a local of each element of a chain lay

struct ChainLink {
  TNd_Event onNext;
  void doForward(TData& d, std::uint16_t) {
    volatile char local = 0;
    chainStack.push_back(reinterpret_cast<std::uintptr_t>(&local));
    DeferEvent(d, onNext);
  }
};

TEST_F(RuntimeTest, AChainOfForwardingElementsRunsAtConstantDepth) {
  std::vector<ChainLink> chain(10000);
  for (std::size_t i = 0; i + 1 < chain.size(); ++i)
    chain[i].onNext = MakeEvent<&ChainLink::doForward>(&chain[i + 1], 0);
  RaiseEvent(MakeEvent<&ChainLink::doForward>(&chain[0], 0));
  ASSERT_EQ(chainStack.size(), chain.size()) << "the chain ends before the raise returns";
  EXPECT_EQ(chainStack.front(), chainStack.back());
}

TEST_F(RuntimeTest, AnUnsetDefaultConsumesTheArrivingRecordValueByValue) {
  TData third = record(dtString, 0, "three");
  TData second = record(dtInteger, 2, "", 0.0, &third);
  TData incoming = record(dtInteger, 1, "", 0.0, &second);
  EXPECT_EQ(ReadInteger(incoming, unlinked, 5), 5) << "a set default wins and consumes nothing";
  EXPECT_EQ(ReadReal(incoming, unlinked, 0.0), 1.0);
  const TData data = ReadData(incoming, unlinked, nullptr);
  EXPECT_TRUE(data.IntValue == 2 && data.Next == nullptr) << "ReadData drops the Next link";
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "three");
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "");
  EXPECT_EQ(ReadData(incoming, unlinked, &third).StrValue, "three") << "a non-NULL default is set";
}

TEST_F(RuntimeTest, LinkedSourcesStreamsAndFetches) {
  Node s{.value = record(dtInteger, 42)};
  const TNd_Event input = MakeEvent<&Node::doGet>(&s, 0);
  TData incoming = record(dtString, 0, "12");
  EXPECT_EQ(ReadString(incoming, input, "default"), "42");
  EXPECT_EQ(ReadPointInteger(input), 42);
  s.value.DataType = dtBreak;
  EXPECT_EQ(ReadInteger(incoming, input, 5), 5);
  EXPECT_EQ(ReadInteger(incoming, input, 0), 12);
  EXPECT_EQ(incoming.DataType, dtNull);

  TMemoryStream arriving;
  TMemoryStream fallback;
  incoming = record(dtInteger, 4);
  EXPECT_EQ(ReadStream(incoming, unlinked, nullptr), nullptr);
  EXPECT_EQ(incoming.DataType, dtInteger) << "a value that is not a Stream stays";
  MakeStream(incoming, &arriving);
  EXPECT_EQ(ReadStream(incoming, unlinked, &fallback), &fallback);
  EXPECT_EQ(ReadStream(incoming, unlinked, nullptr), &arriving);
  EXPECT_EQ(incoming.DataType, dtNull);
  FetchData(incoming, unlinked);
  EXPECT_EQ(incoming.DataType, dtBreak);
  s.value = record(dtInteger, 5);
  TData d = record(dtString, 0, "keep");
  FetchData(d, input);
  EXPECT_TRUE(s.got.back().DataType == dtString && d.IntValue == 5) << "the record is not reset first";
}

std::vector<int> initLog;

// Each registers the next while the list runs, often enough to move the list's storage.
struct InitClient {
  int id = 0;
  void run() {
    initLog.push_back(id);
    if (id < 39) AddInitProc(MakeInitProc<&InitClient::run>(this + 1));
  }
};

TEST(InitProcTest, ProcsRegisteredDuringTheRunRunInTheSameRun) {
  std::vector<InitClient> clients(40);
  for (int i = 0; i < 40; ++i) clients[i].id = i;
  AddInitProc(MakeInitProc<&InitClient::run>(&clients[0]));
  RunInitProcs();
  EXPECT_TRUE(initLog.size() == 40 && initLog.back() == 39 && InitProcs.empty());
}

}  // namespace
