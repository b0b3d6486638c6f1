// A charger that misbehaves: each suite runs against its own simulator scenario.

#include "com_fixture.h"
#include "resource_count.h"

namespace {

class ComFault : public ComTest {
protected:
  void SetUp() override {
    ComTest::SetUp();
    com.Timeout = 100;
    Open();
    ASSERT_TRUE(com.Handle.valid()) << "is the simulator serving COM1?";
  }
};

using ComShort = ComFault;
using ComLong = ComFault;
using ComSilent = ComFault;
using ComGarbage = ComFault;
using ComDrop = ComFault;

TEST_F(ComShort, ThreeBytesThenSilenceGiveThoseThreeBytes) {
  Send("f");
  EXPECT_EQ(Read(8), "140");
}

TEST_F(ComSilent, ASilentDeviceGivesTheEmptyText) {
  const std::size_t in = received.size();
  Send("f");
  EXPECT_EQ(sends.Received.at(0).IntValue, 1);
  EXPECT_EQ(Read(8), "");
  EXPECT_EQ(received.waitFor(in, 1), "f");
}

TEST_F(ComLong, ReadsTakeWhatIsAskedUpToTheBufferAndPurgeDropsTheRest) {
  const std::size_t out = sent.size();
  Send("f");
  ASSERT_TRUE(WaitForInput(com.Handle.get(), 300));
  const std::string reply = LastSent(out, 300);
  EXPECT_EQ(Read(5), reply.substr(0, 5));
  EXPECT_EQ(Read(1000), reply.substr(5, ComBufferSize)) << "a count above the buffer is cut";
  TData none;
  com.doPurge(none, 2);
  EXPECT_EQ(Read(8), "");
}

TEST_F(ComGarbage, AnyByteValueArrivesUnchanged) {
  std::string all;
  for (int poll = 0; poll < 4; ++poll) {
    const std::size_t out = sent.size();
    Send("f");
    const std::string got = Read(64);
    EXPECT_EQ(got, LastSent(out, 64)) << "poll " << poll;
    all += got;
  }
  // The scenario's seed is chosen so that these replies hold a NUL, a CR, XON and XOFF.
  for (char c : {'\0', '\r', '\x11', '\x13'}) {
    EXPECT_NE(all.find(c), std::string::npos) << "byte " << int(c);
  }
}

TEST_F(ComDrop, AVanishedDeviceGivesEmptyReadsAndLeaksNothing) {
  const std::size_t handles = CountKernelHandles() - 1;  // the port opened by SetUp
  const std::size_t in = received.size();
  Send("f");
  EXPECT_EQ(Read(8).size(), 8u);
  // The second poll is the one at which the device drops the line.
  Send("f");
  ASSERT_EQ(received.waitFor(in, 2), "ff");
  EXPECT_EQ(Read(8), "");
  Send("f");
  ASSERT_EQ(sends.Received.size(), 3u);
  EXPECT_EQ(sends.Received[2].IntValue, 0) << "a write to a dropped line writes nothing";
  TData none;
  com.doClose(none, 1);
  EXPECT_EQ(CountKernelHandles(), handles);
  Open();
  EXPECT_FALSE(com.Handle.valid()) << "the device is gone";
  EXPECT_EQ(CountKernelHandles(), handles);
}

}  // namespace
