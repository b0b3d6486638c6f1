#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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

using TBounds = std::array<int, 4>;  // left, top, width, height; a width of 0: auto-sized

// The window's place in its parent's client area.
TBounds Placement(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
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

  const std::pair<const TNdWin*, TBounds> placed[] = {
      {form->MainWindow, {0, 0, 1024, 768}},          {form->StopButton, {95, 700, 85, 25}},
      {form->TemperatureMemo, {150, 30, 115, 630}},   {form->VoltageMemo, {15, 30, 115, 630}},
      {form->VoltageCaption, {20, 10, 0, 0}},         {form->TemperatureCaption, {155, 10, 0, 0}},
      {form->CycleButton, {95, 670, 85, 25}},         {form->VoltageGraph, {280, 10, 700, 400}},
      {form->VoltageGraphTitle, {420, 10, 0, 0}},     {form->VoltageGraphUnit, {980, 385, 0, 0}},
      {form->TemperatureGraph, {280, 430, 700, 300}}, {form->TemperatureGraphUnit, {980, 705, 0, 0}},
      {form->TemperatureGraphTitle, {415, 415, 0, 0}},
  };
  for (const auto& [element, bounds] : placed) {
    SCOPED_TRACE(testing::Message() << "placed at " << bounds[0] << ", " << bounds[1]);
    TBounds shown = Placement(element->Control->EnsureWindow());
    if (bounds[2] == 0) shown[2] = shown[3] = 0;
    EXPECT_EQ(shown, bounds);
  }
  EXPECT_FALSE(IsWindowVisible(form->MainWindow->Control->Handle));  // until the start step
  EXPECT_EQ(form->CycleButton->Control->GetCaption(), "\xF6\xE8\xEA\xEB");  // Windows-1251
  for (const TNdMemo* memo : {form->TemperatureMemo, form->VoltageMemo}) {
    const auto style = static_cast<DWORD>(GetWindowLongW(memo->Control->Handle, GWL_STYLE));
    EXPECT_TRUE((style & ES_READONLY) && (style & WS_VSCROLL) && !(style & WS_HSCROLL));
  }
  EXPECT_EQ(std::vector<double>({form->VoltageGraph->MinY, form->VoltageGraph->MaxY,
                                 form->TemperatureGraph->MinY, form->TemperatureGraph->MaxY}),
            std::vector<double>({800, 1600, 20, 45}));
  for (const auto& [timer, interval, stopCount] :
       {std::tuple{form->PollTimer, 60000, 0}, std::tuple{form->ReadDelayTimer, 1, 1},
        std::tuple{form->FirstPollTimer, 10, 1}}) {
    EXPECT_EQ(std::pair(timer->Interval(), timer->StopCount()), std::pair(interval, stopCount));
    EXPECT_FALSE(timer->Enabled());
  }
  const TNdCOM& port = *form->SerialPort;
  EXPECT_EQ(std::vector<int>({port.Port, port.BaudRate, port.Parity, port.Timeout}),
            std::vector<int>({0, 4800, 0, 60000}));

  Report("1234256\r");  // dispatch is still off: the report reaches nobody
  EXPECT_EQ(Text(form->TemperatureMemo), L"");
  EXPECT_EQ(form->VoltageGraph->Count, 0);
}

// A report as the port raises it: four voltage digits, three temperature digits, a carriage
// return. The return stays in the cut texts; the memos keep it before their own line break.
TEST_F(MonitorFormTest, ReportsAreListedNewestFirstInVoltsAndDegreesAndPlottedInMillivolts) {
  InstallDispatchers();
  TBoxWatcher boxes;
  Report("1234256\r");
  Report("1300270\r");
  EXPECT_EQ(Text(form->TemperatureMemo), L"27.0\r\r\n25.6\r\r\n");
  EXPECT_EQ(Text(form->VoltageMemo), L"1.300\r\r\n1.234\r\r\n");
  EXPECT_EQ(form->TemperatureMemo->Control->GetCaption(), "27.0\r\r\n25.6\r\r\n");
  ASSERT_EQ(form->VoltageGraph->Count, 2);
  ASSERT_EQ(form->TemperatureGraph->Count, 2);
  const auto& volts = form->VoltageGraph->Points;
  const auto& degrees = form->TemperatureGraph->Points;
  EXPECT_EQ(std::vector<double>({volts[0].Y, volts[1].Y, volts[1].X - volts[0].X}),
            std::vector<double>({1234, 1300, 1}));
  EXPECT_DOUBLE_EQ(degrees[0].Y, 25.6);
  EXPECT_DOUBLE_EQ(degrees[1].Y, 27.0);
  boxes.Stop();
  EXPECT_EQ(boxes.Seen, 0);
}

}  // namespace
