#include "com.h"
#include "convert.h"
#include "main_form.h"
#include "monitor_form.h"

// The caption names the port, so two monitors side by side tell their chargers apart.
void TClassMainForm_1572310::ChoosePort(int number) {
  SerialPort->Port = static_cast<std::uint8_t>(number - 1);
  MainWindow->SetCaption("VORTANE COM" + IntToStr(number));
}
