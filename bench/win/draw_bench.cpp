// Draw cost of a grapher-sized picture through the canvas: a 700x400 bitmap with frame, a 10x10
// grid with labels and a polyline of N points. Prints figures only; it never passes or fails.
//   draw_bench.exe

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_clock.h"
#include "bitmap.h"
#include "canvas.h"

namespace {

constexpr int Width = 700;
constexpr int Height = 400;
constexpr int MarginLeft = 30;
constexpr int MarginRight = 15;
constexpr int MarginTop = 15;
constexpr int MarginBottom = 15;
constexpr int Grid = 10;

// A charge curve squeezed into the plot area: many points per pixel column for large N.
std::vector<POINT> makeCurve(int count) {
  const int plotWidth = Width - MarginLeft - MarginRight;
  const int plotHeight = Height - MarginTop - MarginBottom;
  std::vector<POINT> points(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double t = count > 1 ? static_cast<double>(i) / (count - 1) : 0.0;
    const double value = 0.5 + 0.35 * std::sin(t * 9.0) + 0.05 * std::sin(t * 977.0);
    POINT& point = points[static_cast<std::size_t>(i)];
    point.x = MarginLeft + static_cast<LONG>(t * plotWidth);
    point.y = MarginTop + static_cast<LONG>((1.0 - value) * plotHeight);
  }
  return points;
}

void drawFrameAndGrid(TCanvas& canvas) {
  canvas.Font()->SetFontHeight(8);
  canvas.Brush()->SetColor(ColorButtonFace);
  canvas.FillRect(RECT{0, 0, Width, Height});
  canvas.Pen()->SetColor(0x000000);
  canvas.Pen()->SetPenWidth(1);
  canvas.Rectangle(MarginLeft, MarginTop, Width - MarginRight, Height - MarginBottom);
  canvas.Pen()->SetColor(0xC0C0C0);
  canvas.Font()->SetColor(0xFF0000);
  const double cellX = static_cast<double>(Width - MarginLeft - MarginRight) / Grid;
  const double cellY = static_cast<double>(Height - MarginTop - MarginBottom) / Grid;
  char label[32];
  for (int k = 1; k <= Grid; ++k) {
    const int x = MarginLeft + static_cast<int>(std::lround(k * cellX));
    canvas.MoveTo(x, MarginTop);
    canvas.LineTo(x, Height - MarginBottom);
    std::snprintf(label, sizeof label, "%d", k * 10);
    canvas.TextOut(x - 2, Height - MarginBottom + 1, label);
    const int y = Height - MarginBottom - static_cast<int>(std::lround(k * cellY));
    canvas.MoveTo(MarginLeft, y);
    canvas.LineTo(Width - MarginRight, y);
    std::snprintf(label, sizeof label, "%d", 800 + k * 80);
    canvas.TextOut(2, y - 4, label);
  }
  canvas.Pen()->SetColor(0x0000FF);
}

void drawThroughCanvas(TCanvas& canvas, const std::vector<POINT>& points) {
  drawFrameAndGrid(canvas);
  canvas.MoveTo(points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) canvas.LineTo(points[i].x, points[i].y);
}

// The same picture with the curve drawn by the platform directly: the canvas's own overhead.
void drawCurveDirectly(TCanvas& canvas, const std::vector<POINT>& points) {
  drawFrameAndGrid(canvas);
  canvas.RequireState(csHandleValid | csPenValid | csBrushValid | csChange);
  HDC dc = canvas.DC();
  MoveToEx(dc, points[0].x, points[0].y, nullptr);
  for (std::size_t i = 1; i < points.size(); ++i) ::LineTo(dc, points[i].x, points[i].y);
}

struct Figures {
  double minMs;
  double medianMs;
};

template <class Draw>
Figures measure(int repetitions, Draw draw) {
  draw();  // warm-up: tools and glyphs are made once
  std::vector<double> times;
  for (int r = 0; r < repetitions; ++r) {
    const double start = nowMs();
    draw();
    GdiFlush();
    times.push_back(nowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

void report(const char* what, int count, int repetitions, Figures f) {
  std::printf("%-16s N=%7d  reps=%3d  min %9.3f ms  median %9.3f ms  %8.1f ns/point\n", what,
              count, repetitions, f.minMs, f.medianMs, f.minMs * 1e6 / count);
}

}  // namespace

int main() {
  TOwned<TBitmap> bitmap(TBitmap::CreateBitmap(Width, Height));
  TCanvas& canvas = *bitmap->Canvas();
  std::printf("draw_bench: %dx%d bitmap, frame, %dx%d grid with labels, polyline of N points\n",
              Width, Height, Grid, Grid);
  const Figures background = measure(51, [&] { drawFrameAndGrid(canvas); });
  std::printf("%-16s N=%7d  reps= 51  min %9.3f ms  median %9.3f ms\n", "frame+grid only", 0,
              background.minMs, background.medianMs);
  const int counts[] = {1000, 10000, 100000};
  const int repetitions[] = {51, 21, 9};
  for (int i = 0; i < 3; ++i) {
    const std::vector<POINT> points = makeCurve(counts[i]);
    report("canvas", counts[i], repetitions[i],
           measure(repetitions[i], [&] { drawThroughCanvas(canvas, points); }));
    report("direct LineTo", counts[i], repetitions[i],
           measure(repetitions[i], [&] { drawCurveDirectly(canvas, points); }));
  }

  TOwned<TBitmap> window(TBitmap::CreateBitmap(Width, Height));
  HDC target = window->Canvas()->DC();
  const Figures copy = measure(51, [&] { bitmap->Draw(target, 0, 0); });
  std::printf("%-16s %dx%d  reps= 51  min %9.3f ms  median %9.3f ms\n", "Draw (BitBlt)", Width,
              Height, copy.minMs, copy.medianMs);
  return 0;
}
