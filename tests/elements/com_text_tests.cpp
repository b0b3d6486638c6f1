// What needs no device: the texts the element builds and the silent roads of a missing port.

#include "com_fixture.h"
#include "resource_count.h"

namespace {

TEST(ComText, DeviceNameControlStringAndParityLetters) {
  EXPECT_EQ(ComDeviceName(1), "\\\\.\\Com1");
  EXPECT_EQ(ComDeviceName(12), "\\\\.\\Com12");
  EXPECT_EQ(ComControlString(4800, ComParityLetter(0)),
            "baud=4800 parity=N data=8 stop=1 octs=off");
  EXPECT_EQ(ComControlString(115200, ComParityLetter(4)),
            "baud=115200 parity=S data=8 stop=1 octs=off");
  std::string letters;
  for (int index = -1; index <= 5; ++index) letters += ComParityLetter(index);
  EXPECT_EQ(letters, std::string("\0NOEMS\0", 7));
}

using ComNoDevice = ComTest;

// A port never opened, COM1 with no charger behind its link, and a port the prefix has never
// heard of all ignore every input.
TEST_F(ComNoDevice, ClosedOrMissingPortsIgnoreEveryInputAndLeakNothing) {
  const std::size_t handles = CountKernelHandles();
  for (int port : {-1, 0, 199}) {
    if (port >= 0) {
      com.Port = static_cast<std::uint8_t>(port);
      Open();
    }
    EXPECT_EQ(com.Handle.get(), INVALID_HANDLE_VALUE) << port;
    TData none, eight = IntegerData(8);
    com.doPurge(none, 2);
    Send("f");
    com.doRead(eight, 4);
    com.doClose(none, 1);
  }
  EXPECT_TRUE(sends.Received.empty());
  EXPECT_TRUE(reads.Received.empty());
  EXPECT_EQ(CountKernelHandles(), handles);
}

}  // namespace
