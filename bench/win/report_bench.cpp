// One charger report, the whole road from the reply's bytes to both panes and both graphs
// painted, at 0, 1,440 and READINGS stored readings, and what each reading holds in memory, for
// the monitor's form or for the floor (bench/win/bare_monitor). Run the two sides as two
// processes at once: each fills its own readings by the real road, and at each level they take
// turns report by report (named events), on the wineserver's one clock. Prints figures only.
//   report_bench.exe monitor|floor [READINGS]     (default 10000)
// Lines "report SIDE LEVEL MEDIAN_MS MIN_MS BEFORE_PAINT_MS CPU_MS" (before painting: the reply
// handled, its paints still pending; CPU: the thread's, the mean over the level's reports),
// "memory SIDE READINGS PRIVATE_B HEAP_B" per reading, and "held by".

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bare_monitor.h"
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

constexpr int Repetitions = 31;

// A plausible reply for reading i: millivolts and tenths of a degree, then CR.
std::string reply(int i) {
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

// One side of the comparison: the monitor's form or the floor, each with its own readings.
class Side {
public:
  virtual ~Side() = default;
  virtual HWND Window() = 0;
  virtual void Report(const std::string& text) = 0;  // up to the paints it leaves pending
  virtual void Clear() = 0;
  virtual double GraphBytes() = 0;  // the graphs' point stores as allocated
  virtual void ClearMemos() = 0;
  int sent = 0;
};

class MonitorSide : public Side {
public:
  MonitorSide() {
    // A first form makes the window classes, fonts and caches that stay for the process.
    delete new TClassMainForm_1572310();
    TObj::Free(std::exchange(AppControl, nullptr));
    pumpPending();
    form_ = new TClassMainForm_1572310();
  }
  ~MonitorSide() override {
    RemoveDispatchers();
    TObj::Free(std::exchange(AppControl, nullptr));
    delete form_;
  }
  HWND Window() override { return form_->MainWindow->Control->Handle; }
  void Report(const std::string& text) override { RaiseString(form_->SerialPort->onRead, text); }
  void Clear() override {
    form_->VoltageGraph->Clear();
    form_->TemperatureGraph->Clear();
    ClearMemos();
  }
  double GraphBytes() override {
    return double(form_->VoltageGraph->Points.capacity() +
                  form_->TemperatureGraph->Points.capacity()) *
           sizeof(form_->VoltageGraph->Points[0]);
  }
  void ClearMemos() override {
    form_->VoltageMemo->Control->ClearText();
    form_->TemperatureMemo->Control->ClearText();
  }

private:
  TClassMainForm_1572310* form_;
};

class FloorSide : public Side {
public:
  FloorSide() { floor_.Create(GetModuleHandleW(nullptr), 0, 0); }
  HWND Window() override { return floor_.Window(); }
  void Report(const std::string& text) override { floor_.Reply(text); }
  void Clear() override { floor_.Clear(); }
  double GraphBytes() override {
    return double(floor_.VoltageGraph().values.capacity() +
                  floor_.TemperatureGraph().values.capacity()) *
           sizeof(double);
  }
  void ClearMemos() override {
    SetWindowTextW(floor_.VoltageMemo(), L"");
    SetWindowTextW(floor_.TemperatureMemo(), L"");
  }

private:
  BareMonitor floor_;
};

void show(Side& side) {
  ShowWindow(side.Window(), SW_SHOWNOACTIVATE);
  UpdateWindow(side.Window());
  pumpPending();
  // The first report makes the pens, fonts and glyph caches; it is not a steady cost.
  side.Report(reply(0));
  pumpPending();
  side.Clear();
  pumpPending();
}

void sendUntil(Side& side, int target) {
  while (side.sent < target) {
    side.Report(reply(side.sent++));
    if (side.sent % 64 == 0) pumpPending();
  }
  pumpPending();
}

struct Times {
  std::vector<double> whole, beforePaint;
  double cpuMs = 0.0;
};

// The thread's CPU time. Wine counts it in 10 ms ticks, so only a sum over many reports says much.
double threadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

// The timed window lies on top, painted, before its report starts: the two windows share the
// screen's corner.
void timeOne(Side& side, Times& times) {
  SetWindowPos(side.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pumpPending();
  GdiFlush();
  const std::string text = reply(side.sent++);
  const double cpu = threadCpuMs();
  const double start = nowMs();
  side.Report(text);
  times.beforePaint.push_back(nowMs() - start);
  pumpPending();
  GdiFlush();
  times.whole.push_back(nowMs() - start);
  times.cpuMs += threadCpuMs() - cpu;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void printMemory(Side& side, const char* name, const MemoryUse& before, int readings) {
  const MemoryUse filled = MeasureMemory();
  const double n = readings;
  std::printf("memory %s %d %.1f %.1f\n", name, readings,
              double(filled.PrivateBytes - before.PrivateBytes) / n,
              double(filled.HeapBusyBytes - before.HeapBusyBytes) / n);
  // What the readings hold: the graphs' point stores as allocated, and what the pane texts give
  // back when they go (put back afterwards would cost a fill; the memory line comes last).
  const double graphs = side.GraphBytes();
  side.ClearMemos();
  pumpPending();
  const MemoryUse withoutTexts = MeasureMemory();
  std::printf("held %s by: graphs %.1f B, panes %.1f B, the rest %.1f B per reading (heap in use)\n",
              name, graphs / n, double(filled.HeapBusyBytes - withoutTexts.HeapBusyBytes) / n,
              (double(withoutTexts.HeapBusyBytes - before.HeapBusyBytes) - graphs) / n);
}

// Auto-reset events shared by the two processes; a side that waits too long gives up loudly.
class Turns {
public:
  explicit Turns(bool monitor)
      : mine_(CreateEventW(nullptr, FALSE, FALSE, monitor ? MonitorTurn : FloorTurn)),
        theirs_(CreateEventW(nullptr, FALSE, FALSE, monitor ? FloorTurn : MonitorTurn)) {}
  ~Turns() {
    CloseHandle(mine_);
    CloseHandle(theirs_);
  }
  void Give() { SetEvent(theirs_); }
  void Take() {
    if (WaitForSingleObject(mine_, TimeoutMs) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "report_bench: the other side never gave its turn\n");
      std::exit(1);
    }
  }

private:
  static constexpr const wchar_t* MonitorTurn = L"Local\\vortane-report-monitor";
  static constexpr const wchar_t* FloorTurn = L"Local\\vortane-report-floor";
  static constexpr DWORD TimeoutMs = 3600000;
  HANDLE mine_;
  HANDLE theirs_;
};

// Per level: both fill (at the same time, untimed); the floor says it is ready, then the turn
// goes back and forth, the monitor first, each report timed while the other side waits.
int run(Side& side, bool monitor, int readings) {
  const char* name = monitor ? "monitor" : "floor";
  Turns turns(monitor);
  show(side);
  const MemoryUse before = MeasureMemory();
  for (const int level : {0, 1440, readings}) {
    sendUntil(side, level);
    if (monitor) turns.Take(); else turns.Give();
    Times times;
    for (int r = 0; r < Repetitions; ++r) {
      if (!monitor) turns.Take();
      timeOne(side, times);
      turns.Give();
      if (monitor) turns.Take();
    }
    std::sort(times.whole.begin(), times.whole.end());
    std::printf("report %s %d %.2f %.2f %.2f %.2f\n", name, level, median(times.whole),
                times.whole.front(), median(times.beforePaint), times.cpuMs / Repetitions);
    std::fflush(stdout);
  }
  printMemory(side, name, before, side.sent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* side = argc > 1 ? argv[1] : "";
  const int readings = argc > 2 ? std::max(1441, std::atoi(argv[2])) : 10000;
  InitCommonControlsAll(0xFF);
  InstallDispatchers();
  if (std::strcmp(side, "monitor") == 0) {
    MonitorSide monitor;
    return run(monitor, true, readings);
  }
  if (std::strcmp(side, "floor") == 0) {
    FloorSide floor;
    return run(floor, false, readings);
  }
  std::fprintf(stderr, "usage: report_bench monitor|floor [READINGS]\n");
  return 2;
}
