#include <climits>

#include "insert_delete.h"
#include "probes.h"

namespace {

class InsertDeleteTest : public DispatchTest {
protected:
  TNdInsert ins;
  TNdDelete del;
  TProbe out;
  void SetUp() override {
    DispatchTest::SetUp();
    ins.SubStr = ".";
    ins.onInsert = out.Link();
    del.onDelete = out.Link();
  }
  // The string sent on, or "<none>" when nothing was sent.
  std::string Insert(const TData& arriving, std::int32_t position) {
    ins.Position = position;
    out.Received.clear();
    RaiseData(MakeEvent<&TNdInsert::doInsert>(&ins, 0), arriving);
    return out.Received.empty() ? "<none>" : out.Received.back().StrValue;
  }
  std::string Delete(const TData& arriving, std::int32_t position, std::int32_t count) {
    del.Position = position;
    del.Count = count;
    out.Received.clear();
    RaiseData(MakeEvent<&TNdDelete::doDelete>(&del, 0), arriving);
    return out.Received.empty() ? "<none>" : out.Received.back().StrValue;
  }
};

TEST_F(InsertDeleteTest, InsertClampsThePositionAndSendsNothingForNothing) {
  const TData s = StringData("12345");
  EXPECT_EQ(Insert(s, 2), "1.2345");
  for (int pos : {1, 0, -3, INT_MIN}) EXPECT_EQ(Insert(s, pos), ".12345") << pos;
  for (int pos : {6, 100, INT_MAX}) EXPECT_EQ(Insert(s, pos), "12345.") << pos;
  EXPECT_EQ(Insert(IntegerData(1234), 2), "1.234");
  EXPECT_EQ(Insert(StringData(""), 2), "<none>") << "inserting into nothing sends nothing";
  EXPECT_EQ(Insert(TData(), 2), "<none>");
  ins.SubStr = "";
  EXPECT_EQ(Insert(s, 2), "12345");
}

TEST_F(InsertDeleteTest, DeleteClipsOrIgnoresTheRun) {
  const TData s = StringData("ABCDEFGH");
  EXPECT_EQ(Delete(s, 5, 3), "ABCDH");
  EXPECT_EQ(Delete(s, 1, 4), "EFGH");
  EXPECT_EQ(Delete(s, 7, 3), "ABCDEF");
  EXPECT_EQ(Delete(s, 2, INT_MAX), "A");
  EXPECT_EQ(Delete(s, 1, 8), "");
  for (auto [pos, n] : {std::pair{9, 1}, {0, 3}, {INT_MAX, 1}, {INT_MIN, 5}, {1, 0}, {1, -2}})
    EXPECT_EQ(Delete(s, pos, n), "ABCDEFGH") << pos << "," << n;
  EXPECT_EQ(Delete(IntegerData(12345678), 5, 3), "12348");
  EXPECT_EQ(Delete(StringData(""), 1, 1), "<none>");
}

TEST_F(InsertDeleteTest, InsertDefersWhileDeleteRaisesAtOnce) {
  TData record = StringData("12345");
  ins.Position = 2;
  ins.doInsert(record, 0);
  EXPECT_TRUE(out.Received.empty());
  EXPECT_EQ(record.DataType, dtString | DeferredEventBit);
  EXPECT_EQ(record.NextEvent, &ins.onInsert);
  EXPECT_EQ(record.StrValue, "1.2345");

  record = StringData("ABCDEFGH");
  del.Position = 5;
  del.Count = 3;
  del.doDelete(record, 0);
  ASSERT_EQ(out.Received.size(), 1u);
  EXPECT_EQ(out.Received[0].StrValue, "ABCDH");
  EXPECT_EQ(record.DataType & DeferredEventBit, 0);
}

TEST_F(InsertDeleteTest, UnsetDefaultsTakeWhatTheRecordStillHolds) {
  // The set Str property leaves the arriving value for the Position read.
  ins.Str = "abc";
  ins.SubStr = "X";
  EXPECT_EQ(Insert(IntegerData(2), 0), "aXbc");
  EXPECT_EQ(Insert(StringData("3"), 0), "abXc");
  // The string read consumed the arriving value, so Position 0 reads 0 and nothing is cut.
  EXPECT_EQ(Delete(StringData("ABCDEFGH"), 0, 3), "ABCDEFGH");
}

TEST_F(InsertDeleteTest, LinkedInputsOverrideDefaultsUnlessTheyAnswerBreak) {
  TSource sub, pos, count;
  sub.Value = StringData("--");
  pos.Value = IntegerData(4);
  count.Value.DataType = dtBreak;
  ins.SubStrInput = sub.Link();
  ins.PositionInput = pos.Link();
  EXPECT_EQ(Insert(StringData("12345"), 2), "123--45");
  del.PositionInput = pos.Link();
  del.CountInput = count.Link();
  EXPECT_EQ(Delete(StringData("ABCDEFGH"), 1, 2), "ABCFGH");
}

}  // namespace
