#include "do_data.h"
#include "probes.h"

namespace {

using DoData = DispatchTest;

TEST_F(DoData, SendsItsOwnValueWhateverArrives) {
  TNdDoData poll;
  TProbe out;
  poll.onData = out.Link();
  MakeString(poll.Data, "f");
  RaiseInteger(MakeEvent<&TNdDoData::doData>(&poll, 0), 5);
  ASSERT_EQ(out.Received.size(), 1u);
  EXPECT_EQ(out.Received[0].DataType, dtString);
  EXPECT_EQ(out.Received[0].StrValue, "f");
}

}  // namespace
