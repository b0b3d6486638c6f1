#include "grapher.h"

#include <windows.h>

#include <cstdint>

#include <gtest/gtest.h>

#include "live_form.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Silver = RGB(192, 192, 192);

// The monitor's voltage graph on a hidden form, read from its back buffer: client 698 x 398,
// plot 653 x 368 from (30, 15), ten cells each way.
class GrapherTest : public ::testing::Test {
protected:
  void SetUp() override {
    g.Width = 700;
    g.Height = 400;
    g.FrameStyle = frSingle;
    g.GridColor = 0xC0C0C0;
    g.TextColor = 0xFF0000;
    g.SetGrid(10);
    g.MarginLeft = 30;
    g.MarginRight = 15;
    g.MarginTop = 15;
    g.MarginBottom = 15;
    g.LineColor = 0xFF;
    g.Step = 1.0;
    g.MinY = 800;
    g.MaxY = 1600;
    g.Init();
  }
  COLORREF at(int x, int y) { return GetPixel(g.Bitmap->Canvas()->DC(), x, y); }
  int redIn(int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += at(x, y) == Red;
    return n;
  }
  void add(int value) {
    TData d;
    MakeInteger(d, value);
    g.doAdd(d, 0);
  }
  // The label's area, with a few pixels of background after the text, is the text drawn alone
  // in the label font.
  bool showsLabel(int x, int y, const char* text) {
    TOwned<TBitmap> alone(TBitmap::CreateBitmap(80, 16));
    TCanvas& c = *alone->Canvas();
    c.Font()->SetFontHeight(8);
    c.Font()->SetColor(0xFF0000);
    c.Brush()->SetColor(g.Control->Color);
    c.FillRect(RECT{0, 0, 80, 16});
    c.TextOut(0, 0, text);
    const SIZE size = c.TextExtent(text);
    for (int j = 0; j < size.cy; ++j)
      for (int i = 0; i < size.cx + 3; ++i)
        if (GetPixel(c.DC(), i, j) != at(x + i, y + j)) return false;
    return true;
  }

  TestForm form;
  TNdGrapher g{form.get()};  // freed before the form
};

TEST_F(GrapherTest, EmptyGraphHasFrameGridAndZeroLabelsAndFollowsTheClientSize) {
  ASSERT_TRUE(g.Bitmap->Width() == 698 && g.Bitmap->Height() == 398);
  for (POINT p : {POINT{30, 100}, POINT{682, 100}, POINT{100, 382}})
    EXPECT_EQ(at(p.x, p.y), Black) << p.x << "," << p.y;
  EXPECT_EQ(at(100, 15), Silver) << "the tenth grid line lies on the top edge";
  for (int x : {95, 161, 226}) EXPECT_EQ(at(x, 100), Silver) << x;   // 30 + k * 65.3
  for (int y : {346, 309, 273}) EXPECT_EQ(at(100, y), Silver) << y;  // 383 - k * 36.8
  EXPECT_EQ(redIn(0, 0, 698, 398), 0);
  EXPECT_TRUE(showsLabel(2, 379, "0")) << "a fixed range still labels 0 without points";
  EXPECT_TRUE(showsLabel(224, 384, "0"));

  // Cells of exactly 16 pixels: the top line still lies on the edge. The window gets the new
  // buffer as it is.
  g.Control->SetSize(300, 192);
  TOwned<TBitmap> screen(TBitmap::CreateBitmap(298, 190));
  HDC shown = screen->Canvas()->DC();
  SendMessageW(g.Control->Handle, WM_PAINT, reinterpret_cast<WPARAM>(shown), 0);
  EXPECT_EQ(GetPixel(shown, 282, 100), Black);
  EXPECT_EQ(GetPixel(shown, 100, 15), Silver);
}

// The caller's x87 chops at double precision, as a host's code may leave it: the graph is drawn
// as under the defaults.
TEST_F(GrapherTest, CurveLabelsToTwoDecimalsAndOverrange) {
  struct Chopping {
    std::uint16_t saved = 0;
    Chopping() {
      __asm__ __volatile__("fnstcw %0" : "=m"(saved));
      const auto word = static_cast<std::uint16_t>((saved & ~0x0F00) | 0x0E00);
      __asm__ __volatile__("fldcw %0" : : "m"(word));
    }
    ~Chopping() { __asm__ __volatile__("fldcw %0" : : "m"(saved)); }
  } chopping;
  add(1200);
  EXPECT_EQ(redIn(0, 0, 698, 398), 0) << "one point is a move only";
  EXPECT_TRUE(showsLabel(2, 379, "800"));
  add(1400);  // (30, 199) to (683, 107)
  EXPECT_EQ(redIn(200, 0, 201, 398), 1);
  EXPECT_EQ(at(200, 175), Red);  // 199 - 92 * 170 / 653
  EXPECT_TRUE(showsLabel(224, 384, "0.3")) << "three increments of 0.1, rounded";

  TData none;
  g.doClear(none, 1);
  EXPECT_EQ(redIn(0, 0, 698, 398), 0);
  g.MinY = 12;
  g.MaxY = 12.5;
  add(12);
  EXPECT_TRUE(showsLabel(2, 121, "12.35")) << "the seventh of ten steps of 0.05";
  add(13);  // above MaxY: the curve leaves the plot through the top margin
  EXPECT_GT(redIn(0, 0, 698, 15), 0);
}

}  // namespace
