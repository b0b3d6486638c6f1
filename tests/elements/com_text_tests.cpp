// What needs no device: the texts the element builds and the silent roads of a missing port.

#include "com_fixture.h"
#include "resource_count.h"

namespace {

TEST(ComText, DeviceNameAndControlStringOfTheMonitor) {
  EXPECT_EQ(ComDeviceName(1), "\\\\.\\Com1");
  EXPECT_EQ(ComDeviceName(12), "\\\\.\\Com12");
  EXPECT_EQ(ComControlString(4800, ComParityLetter(0)),
            "baud=4800 parity=N data=8 stop=1 octs=off");
}

TEST(ComText, ParityIndexNamesItsLetter) {
  EXPECT_EQ(ComControlString(9600, ComParityLetter(2)),
            "baud=9600 parity=E data=8 stop=1 octs=off");
  EXPECT_EQ(ComControlString(115200, ComParityLetter(4)),
            "baud=115200 parity=S data=8 stop=1 octs=off");
  EXPECT_EQ(ComParityLetter(1), 'O');
  EXPECT_EQ(ComParityLetter(3), 'M');
  EXPECT_EQ(ComParityLetter(5), '\0');
  EXPECT_EQ(ComParityLetter(-1), '\0');
}

using ComNoDevice = ComTest;

TEST_F(ComNoDevice, AClosedPortIgnoresEveryInput) {
  const std::size_t handles = CountKernelHandles();
  TData none;
  com.doPurge(none, 2);
  Send("f");
  TData eight = IntegerData(8);
  com.doRead(eight, 4);
  com.doClose(none, 1);
  EXPECT_TRUE(sends.Received.empty());
  EXPECT_TRUE(reads.Received.empty());
  EXPECT_EQ(com.Handle.get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(CountKernelHandles(), handles);
}

TEST_F(ComNoDevice, AMissingPortFailsSilentlyAndLaterReadsRaiseNothing) {
  const std::size_t handles = CountKernelHandles();
  // COM1 with no charger behind its link, and a port the prefix has never heard of.
  for (std::uint8_t port : {0, 199}) {
    com.Port = port;
    Open();
    EXPECT_EQ(com.Handle.get(), INVALID_HANDLE_VALUE) << int(port);
    Send("f");
    TData none;
    com.doPurge(none, 2);
    const std::size_t readsBefore = reads.Received.size();
    TData eight = IntegerData(8);
    com.doRead(eight, 4);
    EXPECT_EQ(reads.Received.size(), readsBefore);
  }
  EXPECT_TRUE(sends.Received.empty());
  EXPECT_EQ(CountKernelHandles(), handles);
}

}  // namespace
