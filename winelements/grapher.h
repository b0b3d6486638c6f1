#pragma once
// Line graph of a running series with a grid and numeric axis labels. Every change redraws the
// whole graph into an off-screen bitmap; painting the window only copies that bitmap.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "bitmap.h"
#include "data.h"
#include "event.h"
#include "win_element.h"

struct TRPoint {
  double X = 0.0;
  double Y = 0.0;
};

class TNdGrapher : public TNdWin {
public:
  // Makes the paint box control at once and an empty (0 x 0) back buffer.
  explicit TNdGrapher(TControl* parentControl);

  void Init() override;  // base Init, then the paint, resize and click handlers, then one resize

  // Input 0: a value (read through ValueY), or a Stream of 16-bit little-endian samples that
  // replaces the points. Redraws and invalidates.
  void doAdd(TData& data, std::uint16_t index);
  // Input 1: drops every point, redraws and invalidates.
  void doClear(TData& data, std::uint16_t index);

  void AddPoint(double value);
  void Clear();  // no points, redrawn, not invalidated
  void Draw();   // renders the current points into Bitmap at its size
  double ValueMin() const;
  double ValueMax() const;

  int Grid() const { return grid_; }
  void SetGrid(int grid);  // kept at least 1, so the cells are always defined

  TOwned<TBitmap> Bitmap;
  std::vector<TRPoint> Points;  // oldest first; Count records
  int Count = 0;
  TColor GridColor = 0;
  TColor BorderColor = 0;
  TColor TextColor = 0;
  double Step = 0.0;
  double MinY = 0.0;
  double MaxY = 0.0;  // > 0 switches the fixed range MinY..MaxY on
  int MaxPoints = 0;  // 0 or less: no limit
  int MarginLeft = 0;
  int MarginRight = 0;
  int MarginTop = 0;
  int MarginBottom = 0;
  int LineWidth = 0;
  TColor LineColor = 0;
  TNd_Event ValueY;

private:
  void Render();
  void DrawCurve(TCanvas& canvas, long double x0, long double span, long double lo,
                 long double range, long double plotWidth, long double plotHeight);
  void AddSamples(TStream* stream);
  void Invalidate();
  void Paint(TObj* sender, HDC dc);
  void Resize(TObj* sender);
  void Click(TObj* sender);

  int grid_ = 0;
  std::vector<POINT> curve_;  // pixels of the curve, kept between draws
};
