// Writing and reading COM1 with the simulated charger answering every poll with 1400300.

#include "com_fixture.h"
#include "resource_count.h"

namespace {

class ComNormalIo : public ComTest {
protected:
  void SetUp() override {
    ComTest::SetUp();
    Open();
    ASSERT_TRUE(com.Handle.valid()) << "is the simulator serving COM1?";
  }
};

TEST_F(ComNormalIo, APollGetsTheWholeReplyInOneReadAndAnIntegerGoesAsItsText) {
  const std::size_t in = received.size();
  const std::size_t out = sent.size();
  Send(StringData(""));
  Send("f");
  EXPECT_EQ(Read(8), "1400300\r");
  EXPECT_EQ(LastSent(out, 8), "1400300\r");
  Send(IntegerData(7));
  ASSERT_EQ(sends.Received.size(), 3u);
  EXPECT_EQ(sends.Received[0].IntValue, 0);
  EXPECT_EQ(sends.Received[1].IntValue, 1);
  EXPECT_EQ(sends.Received[2].IntValue, 1);
  // The empty text wrote nothing: only the poll and the 7 arrived.
  EXPECT_EQ(received.waitFor(in, 3, 500), "f7");
}

TEST_F(ComNormalIo, EveryByteWrittenReachesTheDeviceUnchanged) {
  std::string bytes;
  for (int value = 0; value < 256; ++value) {
    if (value != 'f') bytes += static_cast<char>(value);
  }
  const std::size_t in = received.size();
  Send(bytes);
  ASSERT_EQ(sends.Received.size(), 1u);
  EXPECT_EQ(sends.Received[0].IntValue, 255);
  EXPECT_EQ(received.waitFor(in, bytes.size()), bytes);
}

TEST_F(ComNormalIo, ZeroOrNegativeCountsReadNothingAndLeaveTheReplyWaiting) {
  EXPECT_EQ(Read(0), "");
  Send("f");
  ASSERT_TRUE(WaitForInput(com.Handle.get(), 8));
  EXPECT_EQ(Read(-5), "");
  EXPECT_EQ(Read(0), "");
  EXPECT_EQ(Read(8), "1400300\r");
}

TEST_F(ComNormalIo, PurgeDiscardsWhatArrivedAndKeepsThePortWorking) {
  com.Timeout = 50;
  Open();
  Send("f");
  ASSERT_TRUE(WaitForInput(com.Handle.get(), 8));
  TData none;
  com.doPurge(none, 2);
  EXPECT_EQ(Read(8), "");
  Send("f");
  EXPECT_EQ(Read(8), "1400300\r");
}

// A second open closes the first handle, a close or the element's end gives the port back, and
// the device keeps answering through every new handle.
TEST_F(ComNormalIo, ReopenCloseAndDestroyGiveBackTheHandle) {
  const std::size_t open = CountKernelHandles();
  TData none;
  for (int round = 0; round < 3; ++round) {
    if (round == 2) {
      com.doClose(none, 1);
      EXPECT_EQ(com.Handle.get(), INVALID_HANDLE_VALUE);
      EXPECT_EQ(CountKernelHandles(), open - 1);
    }
    Open();
    EXPECT_EQ(CountKernelHandles(), open) << "round " << round;
    Send("f");
    EXPECT_EQ(Read(8), "1400300\r") << "round " << round;
  }
  com.doClose(none, 1);
  {
    TNdCOM other;
    other.BaudRate = 4800;
    other.Timeout = 300;
    other.doOpen(none, 0);
    ASSERT_TRUE(other.Handle.valid());
  }
  EXPECT_EQ(CountKernelHandles(), open - 1);
  Open();
  EXPECT_TRUE(com.Handle.valid());
}

}  // namespace
