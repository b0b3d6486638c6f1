// Opening, configuring and closing COM1 with the simulated charger behind it.

#include <memory>

#include "com_fixture.h"
#include "resource_count.h"

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
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  COMMTIMEOUTS t{};
  ASSERT_TRUE(GetCommTimeouts(com.Handle.get(), &t));
  EXPECT_EQ(t.ReadIntervalTimeout, 250u);
  EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 250u);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 250u);
  EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 250u);
  EXPECT_EQ(t.WriteTotalTimeoutConstant, 250u);
  EXPECT_TRUE(sends.Received.empty()) << "opening raises nothing";
  EXPECT_TRUE(reads.Received.empty());
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
  for (std::int32_t parity : {5, -1, 1000}) {
    com.Parity = parity;
    Open();
    EXPECT_FALSE(com.Handle.valid()) << parity;
  }
  com.Parity = 0;
  Open();
  EXPECT_TRUE(com.Handle.valid());
}

TEST_F(ComNormal, ASecondOpenClosesTheFirstHandle) {
  const std::size_t before = CountKernelHandles();
  Open();
  ASSERT_TRUE(com.Handle.valid());
  EXPECT_EQ(CountKernelHandles(), before + 1);
  Open();
  ASSERT_TRUE(com.Handle.valid());
  EXPECT_EQ(CountKernelHandles(), before + 1);
  TData none;
  com.doClose(none, 1);
  EXPECT_EQ(com.Handle.get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(CountKernelHandles(), before);
}

TEST_F(ComNormal, DestroyingTheElementClosesThePort) {
  const std::size_t before = CountKernelHandles();
  {
    TNdCOM other;
    other.BaudRate = 4800;
    other.Timeout = 300;
    TData none;
    other.doOpen(none, 0);
    ASSERT_TRUE(other.Handle.valid());
  }
  EXPECT_EQ(CountKernelHandles(), before);
  Open();
  EXPECT_TRUE(com.Handle.valid());
}

}  // namespace
