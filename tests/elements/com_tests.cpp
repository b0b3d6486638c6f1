// The serial port element on COM1; each suite runs against its own simulator scenario
// (com_tests.cmake).

#include <windows.h>

#include <string>

#include "com.h"
#include "probes.h"

namespace {

class ComTest : public DispatchTest {
protected:
  void SetUp() override {
    DispatchTest::SetUp();
    com.BaudRate = 4800;
    com.Timeout = 100;
    com.onSend = sends.Link();
    com.onRead = reads.Link();
    com.doOpen(none, 0);
  }
  // The count onSend carried, -1 when it did not fire.
  int Send(const std::string& text) {
    sends.Received.clear();
    RaiseString(MakeEvent<&TNdCOM::doSend>(&com, 3), text);
    return sends.Received.empty() ? -1 : sends.Received.back().IntValue;
  }
  std::string Read(std::int32_t count) {
    reads.Received.clear();
    RaiseInteger(MakeEvent<&TNdCOM::doRead>(&com, 4), count);
    EXPECT_EQ(reads.Received.size(), 1u) << "onRead fires once per read";
    return reads.Received.empty() ? "<no onRead>" : reads.Received.back().StrValue;
  }
  // True once the driver holds at least count received bytes; false after three seconds.
  bool WaitForInput(DWORD count) {
    for (int wait = 0; wait < 300; ++wait, Sleep(10)) {
      DWORD errors = 0;
      COMSTAT status{};
      if (ClearCommError(com.Handle.get(), &errors, &status) && status.cbInQue >= count)
        return true;
    }
    return false;
  }

  TNdCOM com;
  TProbe sends, reads;
  TData none;
};

using ComLong = ComTest;
using ComDrop = ComTest;
using ComNoDevice = ComTest;

// Each poll is answered with "1400300\r" over and over, 300 bytes in all.
TEST_F(ComLong, MonitorSettingsReadsCutAtTheBufferAndPurge) {
  ASSERT_TRUE(com.Handle.valid()) << "is the simulator serving COM1?";
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(com.Handle.get(), &dcb));
  EXPECT_TRUE(dcb.BaudRate == 4800 && dcb.ByteSize == 8 && dcb.Parity == NOPARITY &&
              dcb.StopBits == ONESTOPBIT);
  // The parities the monitor does not use, read by the platform from the device-control text:
  // a pty cannot show them, its driver drops the parity bits.
  const BYTE parities[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
  for (std::int32_t parity = 0; parity < 5; ++parity) {
    EXPECT_TRUE(BuildCommDCBA(ComControlString(4800, ComParityLetter(parity)).c_str(), &dcb) &&
                dcb.Parity == parities[parity]) << parity;
  }
  std::string replies;
  while (replies.size() < 300) replies += "1400300\r";
  EXPECT_EQ(Send("f"), 1);
  ASSERT_TRUE(WaitForInput(300));
  EXPECT_EQ(Read(1000), replies.substr(0, ComBufferSize));
  com.doPurge(none, 2);
  EXPECT_EQ(Read(8), "") << "the 44 bytes left were discarded";
}

// The device answers the first poll and drops the line at the second.
TEST_F(ComDrop, AVanishedDeviceGivesEmptyReadsAndFailedWrites) {
  ASSERT_TRUE(com.Handle.valid()) << "is the simulator serving COM1?";
  Send("f");
  ASSERT_TRUE(WaitForInput(8));
  EXPECT_EQ(Read(8), "1400300\r");
  int written = Send("f");
  for (int attempt = 0; written != 0 && attempt < 100; ++attempt, Sleep(30)) written = Send("f");
  EXPECT_EQ(written, 0) << "a write to a dropped line reports nothing written";
  EXPECT_EQ(Read(8), "");
}

// COM1 with nothing behind its link, and a port the prefix has never heard of.
TEST_F(ComNoDevice, AMissingPortStaysClosedAndEveryInputIsIgnored) {
  for (std::uint8_t port : {0, 199}) {
    com.Port = port;
    com.doOpen(none, 0);
    EXPECT_FALSE(com.Handle.valid()) << int(port);
    com.doPurge(none, 2);
    Send("f");
    RaiseInteger(MakeEvent<&TNdCOM::doRead>(&com, 4), 8);
  }
  EXPECT_TRUE(sends.Received.empty() && reads.Received.empty());
}

}  // namespace
