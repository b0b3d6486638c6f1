// Cost of one add on the monitor's voltage graph (700 x 400): store the value, redraw every
// point into the back buffer, invalidate. Prints figures only; it never passes or fails.
//   grapher_bench.exe

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench_clock.h"
#include "control.h"
#include "grapher.h"

namespace {

// A charge curve in millivolts with a little measuring noise.
double voltage(int i) {
  return 1250.0 + 150.0 * std::tanh(i / 2000.0) + 8.0 * std::sin(i * 0.7);
}

void setUp(TNdGrapher& g) {
  g.Left = 280, g.Top = 10, g.Width = 700, g.Height = 400;
  g.FrameStyle = frSingle;
  g.Color = 0xFF00000F;
  g.SetGrid(10);
  g.GridColor = 0xC0C0C0, g.BorderColor = 0, g.TextColor = 0xFF0000;
  g.MarginLeft = 30, g.MarginRight = 15, g.MarginTop = 15, g.MarginBottom = 15;
  g.LineWidth = 1, g.LineColor = 0xFF, g.Step = 1.0, g.MinY = 800, g.MaxY = 1600;
  g.Init();
}

}  // namespace

int main() {
  // Hidden: destroying a visible top-level window costs seconds under Wine.
  TOwned<TControl> form(CreateFormControl(nullptr, "bench"));
  form->SetVisible(false);
  form->EnsureWindow();
  std::printf("grapher_bench: doAdd (store, full redraw, invalidate), %dx%d back buffer\n", 698,
              398);
  const int counts[] = {0, 1440, 10000, 100000};
  const int repetitions[] = {101, 101, 41, 15};
  double emptyMs = 0.0;  // frame, grid and labels: what every add costs before the curve
  for (int c = 0; c < 4; ++c) {
    auto g = std::make_unique<TNdGrapher>(form.get());
    setUp(*g);
    const int count = counts[c];
    for (int i = 0; i < count; ++i) g->AddPoint(voltage(i));
    TData value;
    std::vector<double> times;
    for (int r = 0; r <= repetitions[c]; ++r) {
      if (count == 0) g->Clear();
      MakeInteger(value, static_cast<int>(voltage(g->Count)));
      const double start = nowMs();
      g->doAdd(value, 0);
      GdiFlush();
      if (r > 0) times.push_back(nowMs() - start);  // the first one makes tools and glyphs
    }
    std::sort(times.begin(), times.end());
    const double minMs = times.front();
    const double medianMs = times[times.size() / 2];
    std::printf("N=%7d  reps=%3zu  min %8.3f ms  median %8.3f ms", count, times.size(), minMs,
                medianMs);
    if (count == 0) emptyMs = minMs;
    if (count > 0)
      std::printf("  %6.1f ns/point, %6.1f ns/point above the empty graph", minMs * 1e6 / count,
                  (minMs - emptyMs) * 1e6 / count);
    std::printf("\n");
  }
  return 0;
}
