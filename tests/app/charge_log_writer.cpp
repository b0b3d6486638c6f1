// Feeds the real form, its log attached, the replies a line can bring, in two runs started by
// its own "цикл" button, and writes what each line of the log must then hold, for
// charge_log_check.py to compare. The log already ends part-way through a line, as a write cut
// short leaves it.
// Usage: charge_log_writer LOG EXPECTED

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "charge_log.h"
#include "com.h"
#include "control.h"
#include "label_button.h"
#include "event.h"
#include "monitor_form.h"
#include "text_codec.h"

namespace {

using namespace std::string_literals;

struct TReply {
  bool newRun;
  AnsiString text, voltage, temperature;  // the panes' texts without the reply's carriage return
};

AnsiString Hex(const AnsiString& bytes) {
  AnsiString hex;
  char pair[3];
  for (const unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const TReply replies[] = {
      {true, "1234256\r", "1.234", "25.6"},
      {false, "", "", ""},       // a read that got nothing
      {false, "12", "1.2", ""},  // too short for a temperature: none, and not the last one's
      // A quote without a comma in the voltage, a comma without a quote in the temperature.
      {true, "\"x\n\0\xE9,\\x41\x7F\r"s, "\".x\n\0"s + "x41\x7F", "\xE9,.\\x41\x7F"},
  };
  FILE* log = std::fopen(argv[1], "wb");
  if (!log) return 1;
  std::fputs("time,run,poll,voltage_V,temperature_C,reply\r\n2026-12-08 01:02:03,9,9,1.234,25.6,12342",
             log);
  std::fclose(log);
  auto* form = new TClassMainForm_1572310();
  if (!form->AttachChargeLog(ToWide(argv[1]))) return 1;
  InstallDispatchers();
  FILE* expected = std::fopen(argv[2], "w");
  std::fprintf(expected, "9 9 %s %s %s\n", Hex("1.234").c_str(), Hex("25.6").c_str(),
               Hex("12342").c_str());
  int run = 0;
  int poll = 0;
  for (const TReply& reply : replies) {
    if (reply.newRun) {
      SendMessageW(form->CycleButton->Control->Handle, BM_CLICK, 0, 0);
      ++run;
      poll = 0;
    }
    RaiseString(form->SerialPort->onRead, reply.text);
    std::fprintf(expected, "%d %d %s %s %s\n", run, ++poll, Hex(reply.voltage).c_str(),
                 Hex(reply.temperature).c_str(), Hex(reply.text).c_str());
  }
  std::fclose(expected);
  RemoveDispatchers();
  TObj::Free(std::exchange(AppControl, nullptr));
  delete form;
  return 0;
}
