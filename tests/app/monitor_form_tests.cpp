#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "../elements/probes.h"
#include "do_data.h"
#include "grapher.h"
#include "hub.h"
#include "insert_delete.h"
#include "label_button.h"
#include "main_form.h"
#include "memo.h"
#include "message.h"
#include "monitor_fixture.h"
#include "str_mask.h"
#include "timer_element.h"

namespace {

using TBounds = std::array<int, 4>;  // left, top, width, height

struct TPlaced {
  const TNdWin* Element;
  TBounds Bounds;  // a width of 0: auto-sized, only the corner is fixed
  const wchar_t* Shown;
  const char* Caption;  // the same text in the program's Windows-1251 bytes
};

// The window's place in its parent's client area.
TBounds Placement(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST_F(MonitorFormTest, ElementsComeInTheirOrderWithTheirSettingsAndNothingFlowsBeforeTheStart) {
  const std::vector<TObject*> expected = {
      form->MainWindow, form->StopButton, form->PollCommand, form->TemperatureMemo,
      form->SerialPort, form->ReadRequest, form->PollHub, form->VoltageMemo, form->VoltageCut,
      form->VoltagePoint, form->VoltageCaption, form->ReportHub, form->TemperatureCut,
      form->TemperaturePoint, form->TemperatureCaption, form->CycleButton, form->PollTimer,
      form->PollJoinHub, form->VoltageGraph, form->VoltageHub, form->VoltageGraphTitle,
      form->VoltageGraphUnit, form->TemperatureHub, form->TemperatureGraph,
      form->TemperatureGraphUnit, form->TemperatureGraphTitle, form->OpenHub,
      form->ReadDelayTimer, form->CycleHub, form->StopHub, form->FirstPollTimer, form->EndMask,
      form->CloseHub, form->EndHub, form->EndMessage, form->TemperatureClearHub,
      form->VoltageClearHub};
  EXPECT_EQ(form->Elements(), expected);
  for (const TObject* element : expected) EXPECT_NE(element, nullptr);
  EXPECT_EQ(FormInstance, form);

  const TPlaced placed[] = {
      {form->MainWindow, {0, 0, 1024, 768}, L"VORTANE", "VORTANE"},
      {form->StopButton, {95, 700, 85, 25}, L"стоп", "стоп"},
      {form->TemperatureMemo, {150, 30, 115, 630}, L"", ""},
      {form->VoltageMemo, {15, 30, 115, 630}, L"", ""},
      {form->VoltageCaption, {20, 10, 0, 0}, L"Напряжение,В", "Напряжение,В"},
      {form->TemperatureCaption, {155, 10, 0, 0}, L"Температура, С", "Температура, С"},
      {form->CycleButton, {95, 670, 85, 25}, L"цикл", "цикл"},
      {form->VoltageGraph, {280, 10, 700, 400}, L"", ""},
      {form->VoltageGraphTitle, {420, 10, 0, 0}, L"Напряжение, мВ/время",
       "Напряжение, мВ/время"},
      {form->VoltageGraphUnit, {980, 385, 0, 0}, L"мин", "мин"},
      {form->TemperatureGraph, {280, 430, 700, 300}, L"", ""},
      {form->TemperatureGraphUnit, {980, 705, 0, 0}, L"мин", "мин"},
      {form->TemperatureGraphTitle, {415, 415, 0, 0}, L"Температура, С/время",
       "Температура, С/время"},
  };
  for (const TPlaced& p : placed) {
    const TControl* control = p.Element->Control;
    ASSERT_TRUE(control && IsWindow(control->Handle));
    SCOPED_TRACE(testing::Message() << "placed at " << p.Bounds[0] << ", " << p.Bounds[1]);
    TBounds shown = Placement(control->Handle);
    const TBounds kept{control->Left(), control->Top(), control->Width(), control->Height()};
    EXPECT_EQ(kept, shown);
    if (p.Bounds[2] == 0) shown[2] = shown[3] = 0;
    EXPECT_EQ(shown, p.Bounds);
    EXPECT_EQ(WindowText(control->Handle), p.Shown);
    EXPECT_EQ(control->GetCaption(), p.Caption);
  }
  // Hidden until the start step shows it.
  EXPECT_FALSE(IsWindowVisible(form->MainWindow->Control->Handle));
  for (const TNdMemo* memo : {form->TemperatureMemo, form->VoltageMemo}) {
    const auto style = static_cast<DWORD>(GetWindowLongW(memo->Control->Handle, GWL_STYLE));
    EXPECT_TRUE((style & ES_READONLY) && (style & WS_VSCROLL) && !(style & WS_HSCROLL));
  }

  EXPECT_EQ(form->VoltageGraph->MinY, 800.0);
  EXPECT_EQ(form->VoltageGraph->MaxY, 1600.0);
  EXPECT_EQ(form->TemperatureGraph->MinY, 20.0);
  EXPECT_EQ(form->TemperatureGraph->MaxY, 45.0);

  struct TTimed {
    const TNdTimer* Timer;
    int Interval, StopCount;
  };
  for (const TTimed& t : {TTimed{form->PollTimer, 60000, 0}, TTimed{form->ReadDelayTimer, 1, 1},
                          TTimed{form->FirstPollTimer, 10, 1}}) {
    EXPECT_EQ(t.Timer->Interval(), t.Interval);
    EXPECT_EQ(t.Timer->StopCount(), t.StopCount);
    EXPECT_FALSE(t.Timer->Enabled());
  }

  const TNdCOM& port = *form->SerialPort;
  EXPECT_EQ(port.Port, 0);
  EXPECT_EQ(port.BaudRate, 4800);
  EXPECT_EQ(port.Parity, 0);
  EXPECT_EQ(port.Timeout, 60000);
  EXPECT_FALSE(port.Handle.valid());

  // Event dispatch is still off: a report reaches nobody.
  Report("1234256\r");
  EXPECT_EQ(Text(form->TemperatureMemo), L"");
  EXPECT_EQ(form->VoltageGraph->Count, 0);
}

// A report as the port raises it: four voltage digits, three temperature digits, a carriage
// return. The return stays in the cut texts; the memos keep it before their own line break.
TEST_F(MonitorFormTest, ReportsAreListedNewestFirstInVoltsAndDegreesAndPlottedInMillivolts) {
  InstallDispatchers();
  TBoxWatcher boxes;
  Report("1234256\r");
  EXPECT_EQ(Text(form->TemperatureMemo), L"25.6\r\r\n");
  EXPECT_EQ(Text(form->VoltageMemo), L"1.234\r\r\n");
  ASSERT_EQ(form->TemperatureGraph->Count, 1);
  ASSERT_EQ(form->VoltageGraph->Count, 1);
  EXPECT_DOUBLE_EQ(form->TemperatureGraph->Points[0].Y, 25.6);
  EXPECT_DOUBLE_EQ(form->VoltageGraph->Points[0].Y, 1234.0);

  Report("1300270\r");
  EXPECT_EQ(Text(form->TemperatureMemo), L"27.0\r\r\n25.6\r\r\n");
  EXPECT_EQ(Text(form->VoltageMemo), L"1.300\r\r\n1.234\r\r\n");
  EXPECT_EQ(form->TemperatureMemo->Control->GetCaption(), "27.0\r\r\n25.6\r\r\n");
  ASSERT_EQ(form->VoltageGraph->Count, 2);
  EXPECT_DOUBLE_EQ(form->VoltageGraph->Points[1].Y, 1300.0);
  EXPECT_DOUBLE_EQ(form->VoltageGraph->Points[1].X - form->VoltageGraph->Points[0].X, 1.0);
  EXPECT_DOUBLE_EQ(form->TemperatureGraph->Points[1].Y, 27.0);
  boxes.Stop();
  EXPECT_EQ(boxes.Seen, 0);
}

// An empty report (a failed or silent read) changes nothing; one of two characters has no
// temperature digits and is all voltage.
TEST_F(MonitorFormTest, EmptyReportChangesNothingAndAShortOneIsAllVoltage) {
  InstallDispatchers();
  TBoxWatcher boxes;
  Report("1234256\r");
  Report("");
  EXPECT_EQ(Text(form->TemperatureMemo), L"25.6\r\r\n");
  EXPECT_EQ(Text(form->VoltageMemo), L"1.234\r\r\n");
  EXPECT_EQ(form->TemperatureGraph->Count, 1);
  EXPECT_EQ(form->VoltageGraph->Count, 1);

  Report("12");
  EXPECT_EQ(Text(form->TemperatureMemo), L"25.6\r\r\n");
  EXPECT_EQ(form->TemperatureGraph->Count, 1);
  EXPECT_EQ(Text(form->VoltageMemo), L"1.2\r\n1.234\r\r\n");
  ASSERT_EQ(form->VoltageGraph->Count, 2);
  EXPECT_DOUBLE_EQ(form->VoltageGraph->Points[1].Y, 12.0);
  boxes.Stop();
  EXPECT_EQ(boxes.Seen, 0);
}

// With no device on COM1: "цикл" clears the panes and starts polling, the first poll writes and
// reads nothing; "стоп" stops the polling. Neither shows anything.
TEST_F(MonitorFormTest, CycleAndStopWithoutADeviceClearPollQuietlyAndStop) {
  InstallDispatchers();
  TBoxWatcher boxes;
  Report("1234256\r");

  Click(form->StopButton);
  TProbe readDone;
  form->ReadDelayTimer->onStop = readDone.Link();  // unlinked in the program; shows the read ran
  EXPECT_FALSE(form->PollTimer->Enabled());
  EXPECT_EQ(Text(form->VoltageMemo), L"1.234\r\r\n");

  Click(form->CycleButton);
  EXPECT_TRUE(form->PollTimer->Enabled());
  EXPECT_FALSE(form->SerialPort->Handle.valid());
  EXPECT_EQ(Text(form->TemperatureMemo), L"");
  EXPECT_EQ(Text(form->VoltageMemo), L"");
  EXPECT_EQ(form->TemperatureGraph->Count, 0);
  EXPECT_EQ(form->VoltageGraph->Count, 0);

  // The first poll 10 ms later arms the read 1 ms after it; both timers stop by themselves.
  EXPECT_TRUE(PumpUntil([&] { return !readDone.Received.empty(); }));
  EXPECT_FALSE(form->FirstPollTimer->Enabled());
  EXPECT_TRUE(form->PollTimer->Enabled());
  EXPECT_EQ(Text(form->TemperatureMemo), L"");
  EXPECT_EQ(Text(form->VoltageMemo), L"");
  EXPECT_EQ(form->VoltageGraph->Count, 0);

  Click(form->StopButton);
  EXPECT_FALSE(form->PollTimer->Enabled());
  EXPECT_FALSE(form->SerialPort->Handle.valid());
  boxes.Stop();
  EXPECT_EQ(boxes.Seen, 0);
}

}  // namespace
