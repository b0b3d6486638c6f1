// Writing and reading COM1 with the simulated charger answering every poll with 1400300.

#include "com_fixture.h"

namespace {

class ComNormalIo : public ComTest {
protected:
  void SetUp() override {
    ComTest::SetUp();
    Open();
    ASSERT_TRUE(com.Handle.valid()) << "is the simulator serving COM1?";
  }
};

TEST_F(ComNormalIo, APollGetsTheWholeReplyInOneRead) {
  const std::size_t in = received.size();
  const std::size_t out = sent.size();
  Send("f");
  ASSERT_EQ(sends.Received.size(), 1u);
  EXPECT_EQ(sends.Received[0].IntValue, 1);
  EXPECT_EQ(Read(8), "1400300\r");
  EXPECT_EQ(LastSent(out, 8), "1400300\r");
  EXPECT_EQ(received.waitFor(in, 1), "f");
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

TEST_F(ComNormalIo, AnIntegerIsSentAsItsDecimalText) {
  const std::size_t in = received.size();
  Send(StringData(""));
  Send(IntegerData(7));
  ASSERT_EQ(sends.Received.size(), 2u);
  EXPECT_EQ(sends.Received[0].IntValue, 0);
  EXPECT_EQ(sends.Received[1].IntValue, 1);
  // The empty text wrote nothing: the only byte that arrived is the one of the 7.
  EXPECT_EQ(received.waitFor(in, 2, 500), "7");
}

TEST_F(ComNormalIo, ReadingZeroBytesGivesTheEmptyText) {
  EXPECT_EQ(Read(0), "");
}

TEST_F(ComNormalIo, ANegativeCountReadsNothing) {
  Send("f");
  ASSERT_TRUE(WaitForInput(com.Handle.get(), 8));
  EXPECT_EQ(Read(-5), "");
  EXPECT_EQ(Read(8), "1400300\r") << "the reply must still be waiting";
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

TEST_F(ComNormalIo, ReopeningThePortKeepsTheDeviceAnswering) {
  for (int round = 0; round < 3; ++round) {
    Open();
    Send("f");
    EXPECT_EQ(Read(8), "1400300\r") << "round " << round;
    TData none;
    com.doClose(none, 1);
  }
}

}  // namespace
