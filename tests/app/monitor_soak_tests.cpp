#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <vector>

#include "grapher.h"
#include "label_button.h"
#include "memo.h"
#include "monitor_fixture.h"
#include "resource_count.h"
#include "timer_element.h"

// Runs with the simulated charger answering every poll with 1400 mV and 30.0 degrees.
namespace {

// GDI objects, windows, kernel handles.
std::vector<std::size_t> Count() { return {CountGdiObjects(), CountWindows(), CountKernelHandles()}; }

class MonitorSoakTest : public MonitorFormTest {};

// Each "цикл" opens the port, purges it, clears both panes and polls; each "стоп" closes the
// port. Whatever one pair makes, it gives back.
TEST_F(MonitorSoakTest, AThousandCyclesAndStopsLeaveNothingBehind) {
  InstallDispatchers();
  constexpr int pairs = 1000;
  std::vector<std::size_t> afterFirst;
  for (int pair = 1; pair <= pairs; ++pair) {
    Click(form->CycleButton);
    ASSERT_TRUE(form->SerialPort->Handle.valid()) << "pair " << pair;
    ASSERT_TRUE(PumpUntil([&] { return form->TemperatureGraph->Count > 0; })) << "pair " << pair;
    // A cleared pane holds exactly the one reading of this run.
    ASSERT_EQ(Text(form->VoltageMemo), L"1.400\r\r\n") << "pair " << pair;
    ASSERT_EQ(Text(form->TemperatureMemo), L"30.0\r\r\n") << "pair " << pair;
    ASSERT_EQ(form->VoltageGraph->Count, 1) << "pair " << pair;
    Click(form->StopButton);
    ASSERT_FALSE(form->SerialPort->Handle.valid()) << "pair " << pair;
    ASSERT_FALSE(form->PollTimer->Enabled()) << "pair " << pair;
    if (pair == 1) afterFirst = Count();
  }
  EXPECT_EQ(Count(), afterFirst);
}

}  // namespace
