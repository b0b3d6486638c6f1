#include <gtest/gtest.h>

#include <windows.h>

#include "grapher.h"
#include "label_button.h"
#include "main_form.h"
#include "memo.h"
#include "message.h"
#include "monitor_fixture.h"
#include "timer_element.h"

// These run with the simulated charger answering every poll with 1400 mV and 30.0 degrees.
namespace {

class MonitorChargerTest : public MonitorFormTest {
protected:
  HANDLE OpenPort() {
    TData none;
    form->SerialPort->doOpen(none, 0);
    EXPECT_TRUE(form->SerialPort->Handle.valid());
    return form->SerialPort->Handle.get();
  }
  // A handle value may serve again once closed, but not as a serial port here.
  static bool LivePort(HANDLE handle) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    return GetCommState(handle, &dcb) != 0;
  }
};

// Linked to the box's result output, which the box raises once closed, before the next step of
// the end of charge.
struct TPortAtBoxResult : TObject {
  const TNdCOM* Port = nullptr;
  int Results = 0;
  bool Open = false;
  void doResult(TData&, std::uint16_t) {
    ++Results;
    Open = Port->Handle.valid();
  }
};

TEST_F(MonitorChargerTest, SevenZerosListZerosThenTheEndBoxAndThePortClosesOnlyAfterIt) {
  InstallDispatchers();
  const HANDLE port = OpenPort();
  TPortAtBoxResult atResult;
  atResult.Port = form->SerialPort;
  form->EndMessage->onResult = MakeEvent<&TPortAtBoxResult::doResult>(&atResult, 0);
  TBoxWatcher boxes;
  Report("0000001\r");  // one place off the end: a reading
  EXPECT_EQ(boxes.Seen, 0);
  Report("0000000\r");
  boxes.Stop();

  EXPECT_EQ(boxes.Seen, 1);
  EXPECT_EQ(boxes.LastText, L"Заряд окончен!");
  EXPECT_EQ(atResult.Results, 1);
  EXPECT_TRUE(atResult.Open);
  EXPECT_FALSE(LivePort(port));
  EXPECT_EQ(Text(form->TemperatureMemo), L"00.0\r\r\n00.1\r\r\n");
  EXPECT_EQ(Text(form->VoltageMemo), L"0.000\r\r\n0.000\r\r\n");
  ASSERT_EQ(form->VoltageGraph->Count, 2);
  EXPECT_EQ(form->VoltageGraph->Points[1].Y, 0.0);
}

// "цикл" clears what an earlier run listed, opens the port and polls 10 ms later; "стоп" stops
// the polling and closes the port.
TEST_F(MonitorChargerTest, CycleClearsListsTheFirstReadingAndStopClosesThePort) {
  InstallDispatchers();
  TBoxWatcher boxes;
  Report("1234256\r");
  Click(form->CycleButton);
  EXPECT_EQ(Text(form->VoltageMemo), L"");
  EXPECT_EQ(form->TemperatureGraph->Count, 0);
  EXPECT_TRUE(PumpUntil([&] { return form->VoltageGraph->Count > 0; }));
  EXPECT_EQ(Text(form->VoltageMemo), L"1.400\r\r\n");
  EXPECT_EQ(Text(form->TemperatureMemo), L"30.0\r\r\n");
  ASSERT_EQ(form->TemperatureGraph->Count, 1);
  EXPECT_EQ(form->TemperatureGraph->Points[0].Y, 30.0);

  const HANDLE port = form->SerialPort->Handle.get();
  Click(form->StopButton);
  EXPECT_FALSE(form->PollTimer->Enabled());
  EXPECT_FALSE(LivePort(port));
  boxes.Stop();
  EXPECT_EQ(boxes.Seen, 0);
}

// A poll has armed its read when "стоп" and "цикл" are handled (both queued while the program
// was busy): a tick left armed would read in the new run, after its purge, and freeze the window
// for the port's whole time-out.
TEST_F(MonitorChargerTest, StopDisarmsThePendingPollAndRead) {
  InstallDispatchers();
  Click(form->CycleButton);
  RaiseEvent(form->FirstPollTimer->onTimer);
  ASSERT_TRUE(form->ReadDelayTimer->Enabled());
  Click(form->StopButton);
  EXPECT_FALSE(form->PollTimer->Enabled());
  EXPECT_FALSE(form->FirstPollTimer->Enabled());
  EXPECT_FALSE(form->ReadDelayTimer->Enabled());
}

TEST_F(MonitorChargerTest, ClosingTheMainWindowWithThePortOpenClosesItWhenTheFormGoes) {
  InstallDispatchers();
  const HANDLE port = OpenPort();
  SendMessageW(form->MainWindow->Control->Handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(LivePort(port));
  Destroy();
  EXPECT_FALSE(LivePort(port));
}

}  // namespace
