// One charger report through the whole monitor network (reply text in, both memos and both
// graphs updated and painted) at 0, 1,440 and 10,000 stored readings, and what the process's
// memory grows by per reading. The real form, in-process, no port. Prints figures only.
//   report_bench.exe [READINGS]   (default 10000)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench_clock.h"
#include "com.h"
#include "control.h"
#include "event.h"
#include "grapher.h"
#include "main_form.h"
#include "memo.h"
#include "message_loop.h"
#include "monitor_form.h"
#include "process_memory.h"
#include "win_element.h"

namespace {

// A plausible reply for reading i: millivolts and tenths of a degree, then CR.
AnsiString reply(int i) {
  char text[16];
  const int millivolts = 1250 + (i * 7) % 215;
  const int tenths = 230 + (i * 3) % 150;
  std::snprintf(text, sizeof text, "%04d%03d\r", millivolts, tenths);
  return text;
}

void pumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct Figures {
  double minMs, medianMs, networkMedianMs;
};

// Reports taken one by one, each with the paints it causes.
Figures timeReports(TClassMainForm_1572310& form, int& sent, int repetitions) {
  std::vector<double> times, network;
  for (int r = 0; r < repetitions; ++r) {
    const AnsiString text = reply(sent++);
    const double start = nowMs();
    RaiseString(form.SerialPort->onRead, text);
    network.push_back(nowMs() - start);
    pumpPending();
    GdiFlush();
    times.push_back(nowMs() - start);
  }
  std::sort(times.begin(), times.end());
  std::sort(network.begin(), network.end());
  return {times.front(), times[times.size() / 2], network[network.size() / 2]};
}

void sendUntil(TClassMainForm_1572310& form, int& sent, int target) {
  while (sent < target) {
    RaiseString(form.SerialPort->onRead, reply(sent++));
    if (sent % 64 == 0) pumpPending();
  }
  pumpPending();
}

}  // namespace

int main(int argc, char** argv) {
  const int readings = argc > 1 ? std::max(1441, std::atoi(argv[1])) : 10000;
  InitCommonControlsAll(0xFF);
  InstallDispatchers();
  // A first form makes the window classes, fonts and caches that stay for the process.
  delete new TClassMainForm_1572310();
  TObj::Free(std::exchange(AppControl, nullptr));
  pumpPending();
  const MemoryUse beforeForm = MeasureMemory();
  auto* form = new TClassMainForm_1572310();
  const HWND window = form->MainWindow->Control->Handle;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  pumpPending();

  int sent = 0;
  // The first report makes the pens, fonts and glyph caches; it is not a steady cost.
  timeReports(*form, sent, 1);
  form->VoltageGraph->Clear();
  form->TemperatureGraph->Clear();
  form->VoltageMemo->Control->ClearText();
  form->TemperatureMemo->Control->ClearText();
  pumpPending();
  sent = 0;
  const MemoryUse before = MeasureMemory();

  std::printf("report_bench: one report through the network, memos and graphs painted\n");
  const int levels[] = {0, 1440, readings};
  for (const int level : levels) {
    const double start = nowMs();
    sendUntil(*form, sent, level);
    const double fillMs = nowMs() - start;
    const MemoryUse now = level == readings ? MeasureMemory() : MemoryUse{};
    const Figures f = timeReports(*form, sent, 11);
    std::printf("  at %5d readings: min %.2f ms, median %.2f ms (network alone %.2f ms); "
                "reaching it took %.0f ms\n",
                level, f.minMs, f.medianMs, f.networkMedianMs, fillMs);
    if (level == readings) {
      std::printf("  memory after %d readings vs 0: private %+lld bytes (%.1f per reading), "
                  "heap in use %+lld bytes (%.1f per reading)\n",
                  level, now.PrivateBytes - before.PrivateBytes,
                  double(now.PrivateBytes - before.PrivateBytes) / level,
                  now.HeapBusyBytes - before.HeapBusyBytes,
                  double(now.HeapBusyBytes - before.HeapBusyBytes) / level);
    }
  }
  std::printf("  stored points %d and %d, memo texts %d and %d characters\n",
              form->VoltageGraph->Count, form->TemperatureGraph->Count,
              int(GetWindowTextLengthW(form->VoltageMemo->Control->Handle)),
              int(GetWindowTextLengthW(form->TemperatureMemo->Control->Handle)));

  // What the readings hold: the graphs' point stores as allocated, and what the memo texts give
  // back when they go.
  const MemoryUse withTexts = MeasureMemory();
  const double pointBytes = double(form->VoltageGraph->Points.capacity() +
                                   form->TemperatureGraph->Points.capacity()) *
                            sizeof(form->VoltageGraph->Points[0]);
  form->VoltageMemo->Control->ClearText();
  form->TemperatureMemo->Control->ClearText();
  pumpPending();
  const MemoryUse withoutTexts = MeasureMemory();
  const double n = sent;
  std::printf("  held by: graphs %.1f B, memos %.1f B, the rest %.1f B per reading (heap in use)\n",
              pointBytes / n, (withTexts.HeapBusyBytes - withoutTexts.HeapBusyBytes) / n,
              (withoutTexts.HeapBusyBytes - before.HeapBusyBytes - pointBytes) / n);
  RemoveDispatchers();
  TObj::Free(std::exchange(AppControl, nullptr));
  delete form;
  pumpPending();
  const MemoryUse afterForm = MeasureMemory();
  std::printf("  left on the heap once the form is freed: %+lld bytes after %d readings\n",
              afterForm.HeapBusyBytes - beforeForm.HeapBusyBytes, sent);
  return 0;
}
