// Opening and configuring COM1 with the simulated charger behind it.

#include "com_fixture.h"

namespace {

using ComNormal = ComTest;

DCB State(HANDLE port) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  EXPECT_TRUE(GetCommState(port, &dcb));
  return dcb;
}

TEST_F(ComNormal, OpensWithTheMonitorsSettings) {
  com.Timeout = 250;
  Open();
  ASSERT_TRUE(com.Handle.valid());
  const DCB dcb = State(com.Handle.get());
  EXPECT_EQ(dcb.BaudRate, 4800u);
  EXPECT_TRUE(dcb.ByteSize == 8 && dcb.Parity == NOPARITY && dcb.StopBits == ONESTOPBIT);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  COMMTIMEOUTS t{};
  ASSERT_TRUE(GetCommTimeouts(com.Handle.get(), &t));
  EXPECT_EQ((std::vector<DWORD>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                                t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                                t.WriteTotalTimeoutConstant}),
            std::vector<DWORD>(5, 250));
  EXPECT_TRUE(sends.Received.empty() && reads.Received.empty()) << "opening raises nothing";
}

TEST_F(ComNormal, BaudRateAndPortComeFromLinksOrTheIncomingValue) {
  // Only parity N: a pty cannot keep a parity setting, and Wine then refuses SetCommState.
  com.BaudRate = 0;
  Open(IntegerData(9600));
  ASSERT_TRUE(com.Handle.valid());
  EXPECT_EQ(State(com.Handle.get()).BaudRate, 9600u);

  TSource speed, portNumber;
  speed.Value = IntegerData(2400);
  portNumber.Value = IntegerData(1);
  com.Speed = speed.Link();
  com.PortNumber = portNumber.Link();
  com.BaudRate = 4800;
  com.Port = 7;
  Open(IntegerData(9600));
  ASSERT_TRUE(com.Handle.valid()) << "PortNumber 1 opens COM1 whatever Port says";
  EXPECT_EQ(State(com.Handle.get()).BaudRate, 2400u);
}

TEST_F(ComNormal, ParityOutsideItsRangeLeavesThePortClosed) {
  for (std::int32_t parity : {5, -1, 1000, 0}) {
    com.Parity = parity;
    Open();
    EXPECT_EQ(com.Handle.valid(), parity == 0) << parity;
  }
}

}  // namespace
