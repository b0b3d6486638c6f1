#include <windows.h>

#include <gtest/gtest.h>

#include "bitmap.h"
#include "canvas.h"
#include "graphic_tool.h"
#include "resource_count.h"

namespace {

constexpr int Rounds = 10000;

// Runs the body many times and checks that the process ends with as many GDI objects as it
// started with. One warm-up round lets the platform make its own lasting objects first.
template <class Body>
void expectBalanced(Body body) {
  body(-1);
  const std::size_t before = CountGdiObjects();
  for (int i = 0; i < Rounds; ++i) body(i);
  EXPECT_EQ(CountGdiObjects(), before);
}

TEST(GdiBalance, ToolsDeleteWhatTheyMake) {
  expectBalanced([](int i) {
    TOwned<TGraphicTool> font(TGraphicTool::CreateFontTool());
    TOwned<TGraphicTool> brush(TGraphicTool::CreateBrushTool());
    TOwned<TGraphicTool> pen(TGraphicTool::CreatePenTool());
    ASSERT_NE(font->ToolHandle(), nullptr);
    ASSERT_NE(brush->ToolHandle(), nullptr);
    ASSERT_NE(pen->ToolHandle(), nullptr);
    // A change re-makes the handle: the old one must go.
    pen->SetColor(static_cast<TColor>(i & 0xFFFFFF));
    ASSERT_NE(pen->ToolHandle(), nullptr);
    TOwned<TGraphicTool> copy(TGraphicTool::AssignTool(nullptr, font.get()));
    ASSERT_NE(copy->ToolHandle(), nullptr);
  });
}

TEST(GdiBalance, CanvasesDeleteTheirToolsAndLeaveTheDcClean) {
  TMemoryDC dc(nullptr);
  expectBalanced([&dc](int i) {
    TOwned<TCanvas> canvas(TCanvas::CreateCanvas(dc.Get()));
    canvas->Pen()->SetColor(0x0000FF);
    canvas->Brush()->SetColor(0x00FF00);
    canvas->Rectangle(0, 0, 4, 4);
    canvas->Pen()->SetColor(static_cast<TColor>(i & 0xFF));  // re-made while selected
    canvas->LineTo(3, 3);
    canvas->TextOut(0, 0, "1");
    canvas->TextExtent("12");
  });
}

TEST(GdiBalance, BitmapsDeleteTheirPictureDcAndCanvas) {
  TOwned<TBitmap> target(TBitmap::CreateBitmap(8, 8));
  HDC targetDC = target->Canvas()->DC();
  expectBalanced([targetDC](int i) {
    TOwned<TBitmap> bitmap(TBitmap::CreateBitmap(6, 6));
    bitmap->Canvas()->Brush()->SetColor(0x00FF00);
    bitmap->Canvas()->FillRect(RECT{0, 0, 6, 6});
    bitmap->Canvas()->TextOut(0, 0, "1");
    bitmap->SetWidth(7 + (i & 1));
    bitmap->Draw(targetDC, 0, 0);
    TOwned<TBitmap> dib(TBitmap::CreateDIBBitmap(3, 3));
    dib->Canvas()->LineTo(2, 2);
    dib->Draw(targetDC, 1, 1);
  });
}

}  // namespace
