#include "grapher.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "convert.h"
#include "extended_precision.h"
#include "stream.h"

namespace {

constexpr long double LabelRounding = 100.0L;
constexpr long double XLabelMinCell = 10.0L;  // pixels
constexpr long double YLabelMinCell = 12.0L;
constexpr long double MinCell = 1.0L;
constexpr std::int32_t LabelFontHeight = 8;

// Nearest integer, ties to even: the rounding the precision guard of Draw sets, which a
// conversion by the current rounding takes without switching the x87 to truncation and back (two
// of them per point). NaN gives 0 and values beyond the 64-bit range saturate, so a wild value
// never reaches an undefined conversion.
std::int64_t nint(long double v) {
  if (v != v) return 0;
  if (v >= 9223372036854775807.0L) return INT64_MAX;
  if (v <= -9223372036854775808.0L) return INT64_MIN;
  return std::llrint(v);
}

// Coordinates are 32-bit: a pixel is the low 32 bits of the exact sum.
int low32(std::int64_t v) { return static_cast<int>(static_cast<std::uint32_t>(v)); }
int pixel(int base, long double offset) {
  return static_cast<int>(static_cast<std::uint32_t>(base) +
                          static_cast<std::uint32_t>(nint(offset)));
}

void drawLabel(TCanvas& canvas, int x, int y, long double value, long double origin) {
  const long double shown = nint(value * LabelRounding) / LabelRounding + origin;
  canvas.TextOut(x, y, RealToStr(static_cast<double>(shown)));
}

}  // namespace

TNdGrapher::TNdGrapher(TControl* parentControl)
    : TNdWin(parentControl), Bitmap(TBitmap::CreateBitmap(0, 0)) {
  Control = CreatePaintBoxControl(ParentControl);
}

void TNdGrapher::Init() {
  TNdWin::Init();
  if (!Control) return;
  Control->OnClick = MakeMethod<&TNdGrapher::Click, TObj*>(this);
  Control->SetOnPaint(MakeMethod<&TNdGrapher::Paint, TObj*, HDC>(this));
  Control->SetOnResize(MakeMethod<&TNdGrapher::Resize, TObj*>(this));
  Resize(Control);
}

void TNdGrapher::SetGrid(int grid) { grid_ = std::max(grid, 1); }

void TNdGrapher::doAdd(TData& data, std::uint16_t) {
  if (IsStream(data)) {
    Clear();
    // A linked ValueY that answers with something else than a stream gives no samples.
    AddSamples(ReadStream(data, ValueY, nullptr));
  } else {
    AddPoint(ReadReal(data, ValueY, 0.0));
  }
  Draw();
  Invalidate();
}

void TNdGrapher::doClear(TData&, std::uint16_t) {
  Clear();
  Invalidate();
}

// The toolkit may have freed the control already (its parent went first).
void TNdGrapher::Invalidate() {
  if (Control) Control->Invalidate();
}

void TNdGrapher::AddSamples(TStream* stream) {
  if (!stream) return;
  stream->Seek(0);
  // A lone last byte is no sample; a short read also ends a stream that misreports its size.
  std::uint8_t bytes[2];
  while (stream->Position() < stream->Size() && stream->Read(bytes, 2) == 2)
    AddPoint(static_cast<std::int16_t>(bytes[0] | bytes[1] << 8));
}

void TNdGrapher::AddPoint(double value) {
  // The count is a 32-bit field: at its limit the store behaves as a full one.
  if ((MaxPoints > 0 && Count == MaxPoints) || Count == INT_MAX) {
    std::move(Points.begin() + 1, Points.begin() + Count, Points.begin());
  } else {
    Points.push_back({});
    ++Count;
  }
  TRPoint& last = Points[static_cast<std::size_t>(Count) - 1];
  last.Y = value;
  last.X = Count == 1 ? 0.0 : Points[static_cast<std::size_t>(Count) - 2].X + Step;
}

void TNdGrapher::Clear() {
  Count = 0;
  Points.clear();
  Draw();
}

double TNdGrapher::ValueMin() const {
  if (Count == 0) return 0.0;
  if (MaxY > 0) return MinY;
  double lo = Points[0].Y;
  for (int i = 1; i < Count; ++i) lo = std::min(lo, Points[static_cast<std::size_t>(i)].Y);
  return lo;
}

double TNdGrapher::ValueMax() const {
  if (Count == 0) return 0.0;
  if (MaxY > 0) return MaxY;
  double hi = Points[0].Y;
  for (int i = 1; i < Count; ++i) hi = std::max(hi, Points[static_cast<std::size_t>(i)].Y);
  return hi;
}

void TNdGrapher::Draw() {
  [[maybe_unused]] ExtendedPrecision guard;
  Render();
}

// Kept out of line so that no extended arithmetic can be moved ahead of the precision guard.
[[gnu::noinline]] void TNdGrapher::Render() {
  TCanvas& canvas = *Bitmap->Canvas();
  const std::int64_t w = Bitmap->Width();
  const std::int64_t h = Bitmap->Height();
  const int grid = std::max(grid_, 1);
  canvas.Font()->SetFontHeight(LabelFontHeight);
  canvas.Brush()->SetColor(Control ? Control->Color : Color);
  canvas.FillRect(Control ? Control->ClientRect() : RECT{0, 0, low32(w), low32(h)});

  TGraphicTool& pen = *canvas.Pen();
  pen.SetColor(BorderColor);
  pen.SetPenStyle(PS_SOLID);
  pen.SetPenWidth(1);
  const int right = low32(w - MarginRight);
  const int bottom = low32(h - MarginBottom);
  canvas.Rectangle(MarginLeft, MarginTop, right, bottom);

  const long double plotWidth = static_cast<long double>(w - MarginLeft - MarginRight);
  const long double plotHeight = static_cast<long double>(h - MarginTop - MarginBottom);
  const long double cellX = std::max(plotWidth / grid, MinCell);
  pen.SetColor(GridColor);
  canvas.Font()->SetColor(TextColor);

  const long double lo = ValueMin();
  long double range = ValueMax() - lo;
  long double x0 = 0.0L;
  long double span = 1.0L;
  long double labelStepX = 0.0L;
  if (Count > 0) x0 = nint(Points[0].X * LabelRounding) / LabelRounding;
  if (Count > 1) {
    span = static_cast<long double>(Points[static_cast<std::size_t>(Count) - 1].X) - Points[0].X;
    labelStepX = span / grid;
  }
  if (range == 0.0L) range = 1.0L;
  // A zero X span (Step 0) would divide by zero in the mapping: it is drawn like a single point.
  if (span == 0.0L) {
    span = 1.0L;
    labelStepX = 0.0L;
  }

  const bool xLabels = cellX > XLabelMinCell;
  const int xLabelTop = low32(h - MarginBottom + 1);
  long double label = 0.0L;
  if (xLabels) drawLabel(canvas, low32(std::int64_t{MarginLeft} - 2), xLabelTop, label, x0);
  const long double xEnd = static_cast<long double>(w - MarginRight + 1);
  for (long double x = MarginLeft + cellX; x < xEnd; x += cellX) {
    const int px = pixel(0, x);
    canvas.MoveTo(px, MarginTop);
    canvas.LineTo(px, bottom);
    label += labelStepX;
    if (xLabels) drawLabel(canvas, low32(std::int64_t{px} - 2), xLabelTop, label, x0);
  }

  const long double cellY = std::max(plotHeight / grid, MinCell);
  const long double labelStepY = Count > 0 ? range / grid : 0.0L;
  const bool yLabels = cellY > YLabelMinCell;
  label = lo;
  if (yLabels) drawLabel(canvas, 2, low32(h - MarginBottom - 4), label, 0.0L);
  const long double yEnd = static_cast<long double>(std::int64_t{MarginTop} - 1);
  for (long double y = static_cast<long double>(h - MarginBottom) - cellY; y > yEnd;
       y -= cellY) {
    const int py = pixel(0, y);
    canvas.MoveTo(MarginLeft, py);
    canvas.LineTo(right, py);
    label += labelStepY;
    if (yLabels) drawLabel(canvas, 2, low32(std::int64_t{py} - 4), label, 0.0L);
  }

  DrawCurve(canvas, x0, span, lo, range, plotWidth, plotHeight);
}

void TNdGrapher::DrawCurve(TCanvas& canvas, long double x0, long double span, long double lo,
                           long double range, long double plotWidth, long double plotHeight) {
  TGraphicTool& pen = *canvas.Pen();
  pen.SetColor(LineColor);
  pen.SetPenStyle(PS_SOLID);
  pen.SetPenWidth(LineWidth);
  if (Count <= 0) return;

  const long double xLast = x0 + span;
  curve_.clear();
  for (int i = 0; i < Count; ++i) {
    const TRPoint& p = Points[static_cast<std::size_t>(i)];
    if (i > 0 && p.X > xLast) break;
    curve_.push_back({pixel(MarginLeft, (p.X - x0) * plotWidth / span),
                      pixel(MarginTop, plotHeight - (p.Y - lo) * plotHeight / range)});
  }
  canvas.MoveTo(curve_[0].x, curve_[0].y);
  if (curve_.size() < 2) return;

  // One selection of the pen for the whole curve, then the platform draws it in one call.
  if (!canvas.RequireState(csHandleValid | csPenValid | csBrushValid | csChange)) return;
  HDC dc = canvas.DC();
  if (LineWidth <= 1) {
    PolylineTo(dc, curve_.data() + 1, static_cast<DWORD>(curve_.size() - 1));
  } else {
    // Wide pens: a polyline is built as one region under Wine, many times slower than
    // separate lines, which give the same pixels.
    for (std::size_t i = 1; i < curve_.size(); ++i) ::LineTo(dc, curve_[i].x, curve_[i].y);
  }
}

void TNdGrapher::Paint(TObj*, HDC dc) { Bitmap->Draw(dc, 0, 0); }

void TNdGrapher::Resize(TObj*) {
  Bitmap->SetWidth(std::max(Control->ClientWidth(), 1));
  Bitmap->SetHeight(std::max(Control->ClientHeight(), 1));
  Draw();
  Invalidate();
}

void TNdGrapher::Click(TObj*) {}
