#include "bitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using BitmapPtr = TOwned<TBitmap>;

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 255, 0);

// The whole picture read back with GetDIBits, top row first.
class Picture {
public:
  explicit Picture(TBitmap& bitmap) : width_(bitmap.Width()) {
    bitmap.ReleaseCanvas();  // GetDIBits wants the bitmap out of every DC
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels_.resize(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height());
    TScreenDC screen;
    lines_ = GetDIBits(screen.Get(), bitmap.Handle(), 0, bitmap.Height(), pixels_.data(), &info,
                       DIB_RGB_COLORS);
  }
  int lines() const { return lines_; }
  COLORREF at(int x, int y) const {
    const std::uint32_t p = pixels_.at(static_cast<std::size_t>(y) * width_ + x);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

private:
  int width_;
  int lines_ = 0;
  std::vector<std::uint32_t> pixels_;
};

TEST(Bitmap, ResizingKeepsThePictureTopLeftAndFillsTheRestWithBkColor) {
  BitmapPtr bitmap(TBitmap::CreateBitmap(10, 8));
  bitmap->Canvas()->Brush()->SetColor(0xFF0000);
  bitmap->Canvas()->FillRect(RECT{0, 0, 10, 8});
  bitmap->Canvas()->Pen()->SetColor(0x00FF00);
  bitmap->Canvas()->LineTo(10, 0);
  EXPECT_EQ(bitmap->BkColor, 0xFF0000u) << "drawing copies the brush colour";

  bitmap->SetWidth(16);
  bitmap->SetHeight(12);
  Picture grown(*bitmap);
  ASSERT_EQ(grown.lines(), 12);
  EXPECT_EQ(grown.at(9, 0), Green);
  EXPECT_EQ(grown.at(9, 7), Blue);
  EXPECT_EQ(grown.at(10, 0), Blue);  // new area: BkColor
  EXPECT_EQ(grown.at(15, 11), Blue);

  bitmap->SetHeight(1);
  EXPECT_EQ(Picture(*bitmap).at(9, 0), Green) << "shrinking keeps the top-left part";

  // A new canvas brush starts at BkColor, so drawing alone keeps a fresh bitmap's black.
  BitmapPtr fresh(TBitmap::CreateBitmap(4, 4));
  fresh->Canvas()->LineTo(0, 0);
  fresh->SetWidth(8);
  EXPECT_EQ(Picture(*fresh).at(7, 3), Black);
}

TEST(Bitmap, UnchangedSizeKeepsTheHandle) {
  BitmapPtr bitmap(TBitmap::CreateBitmap(30, 20));
  HBITMAP handle = bitmap->Handle();
  ASSERT_NE(handle, nullptr);
  bitmap->SetWidth(30);
  bitmap->SetHeight(20);
  EXPECT_EQ(bitmap->Handle(), handle);
  bitmap->SetWidth(31);
  EXPECT_NE(bitmap->Handle(), handle);
  EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(Bitmap, ZeroOrNegativeSizeIsEmptyAndDrawsNothing) {
  BitmapPtr bitmap(TBitmap::CreateBitmap(0, 10));
  EXPECT_TRUE(bitmap->Empty());
  bitmap->SetWidth(5);
  EXPECT_FALSE(bitmap->Empty());
  bitmap->SetHeight(-3);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Height(), 0);

  BitmapPtr target(TBitmap::CreateBitmap(8, 8));
  target->Canvas()->Brush()->SetColor(0x00FF00);
  target->Canvas()->FillRect(RECT{0, 0, 8, 8});
  bitmap->Canvas()->FillRect(RECT{0, 0, 8, 8});
  bitmap->Draw(target->Canvas()->DC(), 0, 0);
  EXPECT_EQ(Picture(*target).at(3, 3), Green);
}

TEST(Bitmap, DrawCopiesThePictureAndTheCanvasKeepsWorking) {
  BitmapPtr source(TBitmap::CreateBitmap(4, 3));
  source->Canvas()->Brush()->SetColor(0xFF0000);
  source->Canvas()->FillRect(RECT{0, 0, 4, 3});
  BitmapPtr target(TBitmap::CreateBitmap(12, 12));
  target->Canvas()->Brush()->SetColor(0x00FF00);
  target->Canvas()->FillRect(RECT{0, 0, 12, 12});

  source->Draw(target->Canvas()->DC(), 5, 6);
  const Picture drawn(*target);
  EXPECT_EQ(drawn.at(5, 6), Blue);
  EXPECT_EQ(drawn.at(8, 8), Blue);
  EXPECT_EQ(drawn.at(9, 8), Green);
  EXPECT_EQ(drawn.at(8, 9), Green);
  EXPECT_EQ(drawn.at(4, 6), Green);

  // The picture is back in the canvas DC after Draw and after a re-make.
  EXPECT_EQ(GetPixel(source->Canvas()->DC(), 1, 1), Blue);
  source->SetWidth(6);
  EXPECT_EQ(GetPixel(source->Canvas()->DC(), 1, 1), Blue);
}

TEST(Bitmap, DibFormKeepsItsPictureWhenGrown) {
  BitmapPtr bitmap(TBitmap::CreateDIBBitmap(4, 4));
  EXPECT_EQ(bitmap->HandleType(), bmDIB);
  bitmap->Canvas()->Brush()->SetColor(0x0000FF);
  bitmap->Canvas()->FillRect(RECT{0, 0, 4, 4});
  bitmap->Canvas()->Brush()->SetColor(0x00FF00);
  bitmap->Canvas()->FillRect(RECT{0, 0, 1, 1});
  bitmap->SetWidth(6);
  GdiFlush();
  const auto* bits = static_cast<const std::uint32_t*>(bitmap->DIBBits());
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(bits[0] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(bits[6 * 3 + 3] & 0xFFFFFF, 0xFF0000u);  // (3,3) red, as 0x00RRGGBB
  EXPECT_EQ(bits[6 * 3 + 5] & 0xFFFFFF, 0x00FF00u);  // new area: BkColor, the last brush
}

}  // namespace
