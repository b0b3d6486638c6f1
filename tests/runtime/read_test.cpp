#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime_fixture.h"
#include "stream.h"

namespace {

struct Source {
  TData value;  // the answer; a Break tag means "no value to offer"
  int calls = 0;
  std::uint8_t seenTag = 0xFF;
  void doGet(TData& d, std::uint16_t) {
    ++calls;
    seenTag = d.DataType;
    d = value;
  }
  void doIntOnly(TData& d, std::uint16_t) { d.IntValue = value.IntValue; }
};

TData str(const char* text) {
  TData d;
  MakeString(d, text);
  return d;
}

const TNd_Event unlinked;
using ReadTest = RuntimeTest;

TEST_F(ReadTest, AnUnsetDefaultTakesTheArrivingValueOnce) {
  TData incoming = str("abc");
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "abc");
  EXPECT_EQ(incoming.DataType, dtNull);
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "");
  MakeInteger(incoming, 9);
  EXPECT_EQ(ReadInteger(incoming, unlinked, 5), 5) << "a set default wins";
  EXPECT_EQ(ReadReal(incoming, unlinked, 0.0), 9.0);
  EXPECT_EQ(ReadInteger(incoming, unlinked, 0), 0);
}

TEST_F(ReadTest, LinkedSourcesAnswerOrBreak) {
  Source s;
  MakeInteger(s.value, 42);
  const TNd_Event input = MakeEvent<&Source::doGet>(&s, 0);
  TData incoming = str("12");
  EXPECT_EQ(ReadInteger(incoming, input, 5), 42);
  EXPECT_EQ(ReadString(incoming, input, ""), "42");
  EXPECT_EQ(s.seenTag, dtNull) << "the source fills a fresh record";
  EXPECT_EQ(incoming.DataType, dtString);
  s.value.DataType = dtBreak;
  EXPECT_EQ(ReadInteger(incoming, input, 5), 5);
  EXPECT_EQ(ReadInteger(incoming, input, 0), 12);
  EXPECT_EQ(incoming.DataType, dtNull);
}

TEST_F(ReadTest, WithDispatchOffALinkedReadGivesTheEmptyValueNotTheDefault) {
  Source s;
  MakeString(s.value, "source");
  const TNd_Event input = MakeEvent<&Source::doGet>(&s, 0);
  TData incoming = str("arriving");
  RemoveDispatchers();
  EXPECT_EQ(ReadString(incoming, input, "dflt"), "");
  EXPECT_EQ(ReadPointInteger(input), 0);
  EXPECT_EQ(s.calls, 0);
  EXPECT_EQ(incoming.DataType, dtString);
}

TEST_F(ReadTest, AMultiValueRecordIsConsumedValueByValue) {
  TData third = str("three");
  TData second;
  MakeInteger(second, 2);
  second.Next = &third;
  TData incoming;
  MakeInteger(incoming, 1);
  incoming.Next = &second;
  EXPECT_EQ(ReadInteger(incoming, unlinked, 0), 1);
  const TData data = ReadData(incoming, unlinked, nullptr);
  EXPECT_TRUE(data.IntValue == 2 && data.Next == nullptr) << "ReadData drops the Next link";
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "three");
  EXPECT_EQ(ReadString(incoming, unlinked, ""), "");
  EXPECT_EQ(ReadData(incoming, unlinked, &third).StrValue, "three") << "a non-NULL default is set";
}

TEST_F(ReadTest, ReadStreamTakesOnlyAStream) {
  TMemoryStream arriving;
  TMemoryStream fallback;
  TData incoming;
  MakeInteger(incoming, 4);
  EXPECT_EQ(ReadStream(incoming, unlinked, nullptr), nullptr);
  EXPECT_EQ(incoming.DataType, dtInteger) << "a value that is not a Stream stays";
  MakeStream(incoming, &arriving);
  EXPECT_EQ(ReadStream(incoming, unlinked, &fallback), &fallback);
  EXPECT_EQ(ReadStream(incoming, unlinked, nullptr), &arriving);
  EXPECT_EQ(incoming.DataType, dtNull);
}

TEST_F(ReadTest, PointReadsAndFetches) {
  Source s;
  const TNd_Event input = MakeEvent<&Source::doGet>(&s, 0);
  MakeString(s.value, "17px");
  EXPECT_EQ(ReadPointInteger(input), 17);
  s.value.DataType = dtBreak;
  EXPECT_EQ(ReadPointInteger(input), 0);
  EXPECT_EQ(ReadPointInteger(unlinked), 0);

  TData d = str("keep");
  FetchData(d, unlinked);
  EXPECT_EQ(d.DataType, dtBreak);
  d = str("keep");
  s.value.IntValue = 5;
  FetchData(d, MakeEvent<&Source::doIntOnly>(&s, 0));
  EXPECT_TRUE(d.DataType == dtString && d.StrValue == "keep" && d.IntValue == 5)
      << "the record is not reset before the source fills it";
}

std::vector<int> initLog;

struct InitClient {
  int id = 0;
  InitClient* registersLater = nullptr;
  void run() {
    initLog.push_back(id);
    if (registersLater != nullptr) AddInitProc(MakeInitProc<&InitClient::run>(registersLater));
  }
};

TEST_F(ReadTest, InitProcsRegisteredDuringTheRunRunInTheSameRun) {
  // Enough registrations during the run to move the list's storage several times.
  std::vector<InitClient> clients(40);
  for (int i = 0; i < 40; ++i) clients[i].id = i;
  for (int i = 2; i < 39; ++i) clients[i].registersLater = &clients[i + 1];
  clients[0].registersLater = &clients[39];
  initLog.clear();
  for (int i : {0, 1, 2}) AddInitProc(MakeInitProc<&InitClient::run>(&clients[i]));
  RunInitProcs();
  std::vector<int> expected = {0, 1, 2, 39};
  for (int i = 3; i < 39; ++i) expected.push_back(i);
  expected.push_back(39);
  EXPECT_EQ(initLog, expected);
  EXPECT_TRUE(InitProcs.empty());
}

}  // namespace
