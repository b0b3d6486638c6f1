#include "grapher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "stream.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Silver = RGB(192, 192, 192);
constexpr TColor ButtonFace = 0xFF00000F;

// Invalid operations and divisions by zero of the x87 unit, where the drawing's extended
// arithmetic runs, stop the process instead of giving NaN or infinity.
struct TrapX87Faults {
  std::uint16_t saved = 0, trapping = 0;
  TrapX87Faults() {
    __asm__ __volatile__("fnstcw %0" : "=m"(saved));
    trapping = static_cast<std::uint16_t>(saved & ~0x5);
    __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(trapping));
  }
  ~TrapX87Faults() { __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(saved)); }
};

// The voltage graph of the monitor in a hidden form: client 698 x 398, plot 653 x 368.
class GrapherTest : public ::testing::Test {
protected:
  void SetUp() override {
    form->SetVisible(false);
    g = std::make_unique<TNdGrapher>(form.get());
    g->Left = 280, g->Top = 10, g->Width = 700, g->Height = 400, g->FrameStyle = frSingle;
    g->Color = ButtonFace, g->GridColor = 0xC0C0C0, g->BorderColor = 0, g->TextColor = 0xFF0000;
    g->SetGrid(10);
    g->MarginLeft = 30, g->MarginRight = 15, g->MarginTop = 15, g->MarginBottom = 15;
    g->LineWidth = 1, g->LineColor = 0xFF, g->Step = 1.0, g->MinY = 800, g->MaxY = 1600;
    g->Init();
  }
  COLORREF at(int x, int y) { return GetPixel(g->Bitmap->Canvas()->DC(), x, y); }
  int redIn(int left = 0, int top = 0, int right = 698, int bottom = 398) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += at(x, y) == Red;
    return n;
  }
  void add(int value) {
    TData d;
    MakeInteger(d, value);
    g->doAdd(d, 0);
  }
  using Points = std::vector<std::pair<double, double>>;  // X, Y
  Points points() {
    Points result;
    for (int i = 0; i < g->Count; ++i) result.emplace_back(g->Points[i].X, g->Points[i].Y);
    return result;
  }
  // The label area, with a few pixels of background after the text, matches the text drawn
  // alone in the label font.
  bool showsLabel(int x, int y, const char* text) {
    TOwned<TBitmap> scratch(TBitmap::CreateBitmap(80, 16));
    TCanvas& c = *scratch->Canvas();
    c.Font()->SetFontHeight(8);
    c.Font()->SetColor(0xFF0000);
    c.Brush()->SetColor(ButtonFace);
    c.FillRect(RECT{0, 0, 80, 16});
    c.TextOut(0, 0, text);
    const SIZE size = c.TextExtent(text);
    for (int j = 0; j < size.cy; ++j)
      for (int i = 0; i < size.cx + 3; ++i)
        if (GetPixel(c.DC(), i, j) != at(x + i, y + j)) return false;
    return true;
  }

  TOwned<TControl> form{CreateFormControl(nullptr, "test")};
  std::unique_ptr<TNdGrapher> g;  // freed before the form
};

TEST_F(GrapherTest, EmptyGraphHasFrameGridAndZeroLabelsAndFollowsTheClientSize) {
  ASSERT_TRUE(g->Bitmap->Width() == 698 && g->Bitmap->Height() == 398);
  for (POINT p : {POINT{30, 100}, POINT{682, 100}, POINT{100, 382}})
    EXPECT_EQ(at(p.x, p.y), Black) << p.x << "," << p.y;
  EXPECT_EQ(at(100, 15), Silver) << "the tenth grid line lies on the top edge";
  for (int x : {95, 161, 226}) EXPECT_EQ(at(x, 100), Silver) << x;    // 30 + k * 65.3
  for (int y : {346, 309, 273}) EXPECT_EQ(at(100, y), Silver) << y;   // 383 - k * 36.8
  EXPECT_EQ(redIn(), 0);
  EXPECT_TRUE(showsLabel(2, 379, "0")) << "fixed range still labels 0 without points";
  EXPECT_TRUE(showsLabel(224, 384, "0"));

  // The window gets the back buffer as it is.
  TOwned<TBitmap> screen(TBitmap::CreateBitmap(698, 398));
  SendMessageW(g->Control->Handle, WM_PAINT, reinterpret_cast<WPARAM>(screen->Canvas()->DC()), 0);
  EXPECT_EQ(GetPixel(screen->Canvas()->DC(), 95, 100), Silver);

  g->Control->SetSize(300, 200);
  EXPECT_EQ(g->Bitmap->Width(), 298);
  EXPECT_EQ(at(282, 100), Black);
}

TEST_F(GrapherTest, CurveLabelsOverrangeAndStepZero) {
  add(1200);
  EXPECT_EQ(redIn(), 0) << "one point is a move only";
  EXPECT_TRUE(showsLabel(224, 384, "0"));
  EXPECT_TRUE(showsLabel(2, 379, "800"));

  add(1400);  // (30, 199) to (683, 107)
  EXPECT_EQ(redIn(200, 0, 201, 398), 1);
  EXPECT_EQ(at(200, 175), Red);  // 199 - 92 * 170 / 653
  EXPECT_TRUE(showsLabel(224, 384, "0.3")) << "three increments of 0.1, rounded";

  TData none;
  g->doClear(none, 1);
  EXPECT_EQ(redIn(), 0);
  add(1200);
  add(1700);  // above MaxY: the curve leaves the plot through the top margin
  EXPECT_GT(redIn(0, 0, 698, 15), 0);

  g->Step = 0.0;  // no X span: the curve stands on the left edge, and nothing divides by zero
  g->doClear(none, 1);
  {
    TrapX87Faults trap;
    add(1200);
    add(1400);
  }
  EXPECT_EQ(at(30, 150), Red);
  EXPECT_EQ(redIn(31, 0, 698, 398), 0);
}

TEST_F(GrapherTest, StoreLimitClearAndStreams) {
  g->MaxPoints = 3;
  for (int v : {10, 20, 30, 40}) add(v);
  EXPECT_EQ(points(), (Points{{1, 20}, {2, 30}, {3, 40}}));
  TData d;
  g->doClear(d, 1);
  add(5);
  EXPECT_EQ(points(), (Points{{0, 5}}));

  g->MaxPoints = 0;
  TMemoryStream samples({0x01, 0x00, 0xFF, 0xFF});
  MakeStream(d, &samples);
  g->doAdd(d, 0);
  EXPECT_EQ(points(), (Points{{0, 1}, {1, -1}}));
  TMemoryStream odd({0x02, 0x00, 0xFF});
  MakeStream(d, &odd);
  g->doAdd(d, 0);
  EXPECT_EQ(points(), (Points{{0, 2}})) << "the lone last byte is no sample";

  struct Source {
    void Answer(TData& out, std::uint16_t) { MakeInteger(out, 7); }
  } source;
  g->ValueY = MakeEvent<&Source::Answer>(&source, 0);
  InstallDispatchers();
  MakeStream(d, &samples);
  g->doAdd(d, 0);
  RemoveDispatchers();
  EXPECT_EQ(g->Count, 0) << "a linked source without a stream gives no samples";
}

}  // namespace
