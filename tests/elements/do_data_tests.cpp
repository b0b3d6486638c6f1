#include "do_data.h"
#include "probes.h"

namespace {

class DoDataTest : public DispatchTest {
protected:
  TNdDoData doData;
  TProbe out;
  void SetUp() override {
    DispatchTest::SetUp();
    doData.onData = out.Link();
  }
  TNd_Event In() { return MakeEvent<&TNdDoData::doData>(&doData, 0); }
};

TEST_F(DoDataTest, SendsItsValueOrNullWhateverArrives) {
  RaiseString(In(), "x");
  MakeString(doData.Data, "f");
  RaiseEvent(In());
  RaiseInteger(In(), 5);
  RaiseString(In(), "x");
  MakeInteger(doData.Data, 8);
  RaiseString(In(), "x");
  std::vector<std::string> sent;  // "tag:text"
  for (const TData& d : out.Received) sent.push_back(std::to_string(d.DataType) + ":" + ToStr(d));
  EXPECT_EQ(sent, (std::vector<std::string>{"0:", "2:f", "2:f", "2:f", "1:8"}));
}

TEST_F(DoDataTest, LinkedInputReplacesTheValueUnlessItAnswersBreak) {
  TSource source;
  source.Value = StringData("g");
  MakeString(doData.Data, "f");
  doData.DataInput = source.Link();
  RaiseEvent(In());
  source.Value.DataType = dtBreak;
  RaiseEvent(In());
  ASSERT_EQ(out.Received.size(), 2u);
  EXPECT_EQ(out.Received[0].StrValue, "g");
  EXPECT_EQ(out.Received[1].StrValue, "f");
}

TEST_F(DoDataTest, DefersOnTheArrivingRecord) {
  MakeString(doData.Data, "f");
  TData record = IntegerData(3);
  doData.doData(record, 0);
  EXPECT_TRUE(out.Received.empty());
  EXPECT_EQ(record.DataType, dtString | DeferredEventBit);
  EXPECT_EQ(record.NextEvent, &doData.onData);
  EXPECT_EQ(record.StrValue, "f");
}

}  // namespace
