#include <climits>

#include "insert_delete.h"
#include "probes.h"

namespace {

using InsertDelete = DispatchTest;

// Positions are 1-based; an empty arriving text sends nothing ("<none>").
TEST_F(InsertDelete, PositionsAtAndBeyondTheEnds) {
  TNdInsert ins;
  TNdDelete del;
  TProbe out;
  ins.SubStr = ".";
  ins.onInsert = out.Link();
  del.onDelete = out.Link();
  const struct {
    bool insert;
    const char* text;
    std::int32_t position, count;
    const char* expected;
  } cases[] = {
      {true, "12345", 2, 0, "1.2345"},     {true, "12345", 5, 0, "1234.5"},
      {true, "12345", 1, 0, ".12345"},     {true, "12345", INT_MIN, 0, ".12345"},
      {true, "12345", 6, 0, "12345."},     {true, "12345", INT_MAX, 0, "12345."},
      {true, "", 2, 0, "<none>"},          {false, "ABCDEFGH", 5, 3, "ABCDH"},
      {false, "ABCDEFGH", 1, 1, "BCDEFGH"}, {false, "ABCDEFGH", 8, 1, "ABCDEFG"},
      {false, "ABCDEFGH", 7, 3, "ABCDEF"}, {false, "ABCDEFGH", 2, INT_MAX, "A"},
      {false, "ABCDEFGH", 9, 1, "ABCDEFGH"}, {false, "ABCDEFGH", 0, 3, "ABCDEFGH"},
      {false, "ABCDEFGH", INT_MIN, 5, "ABCDEFGH"}, {false, "ABCDEFGH", 1, 0, "ABCDEFGH"},
      {false, "ABCDEFGH", 1, -2, "ABCDEFGH"}, {false, "", 1, 1, "<none>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.position));
    out.Received.clear();
    ins.Position = del.Position = c.position;
    del.Count = c.count;
    RaiseString(c.insert ? MakeEvent<&TNdInsert::doInsert>(&ins, 0)
                         : MakeEvent<&TNdDelete::doDelete>(&del, 0),
                c.text);
    EXPECT_EQ(out.Received.empty() ? "<none>" : out.Received.back().StrValue, c.expected);
    EXPECT_LE(out.Received.size(), 1u);
  }
}

}  // namespace
