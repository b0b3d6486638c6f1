#include "control.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphic_tool.h"
#include "resource_count.h"

namespace {

TEST(Opacity, AlphaMakesTheWindowLayeredAnd255TakesItBack) {
  TOwned<TControl> form(CreateFormControl(nullptr, "alpha"));
  form->SetAlpha(128);
  ASSERT_NE(form->Handle, nullptr);
  EXPECT_TRUE(GetWindowLongW(form->Handle, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(flags & LWA_ALPHA);
  form->SetAlpha(255);
  EXPECT_FALSE(GetWindowLongW(form->Handle, GWL_EXSTYLE) & WS_EX_LAYERED);
}

struct Painter {
  COLORREF color;
  RECT square;
  DWORD lastDCType = 0;
  void Paint(TObj*, HDC dc) {
    lastDCType = GetObjectType(dc);
    TGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &square, brush.Get());
  }
};

// A form painting a blue square beside a paint box painting itself green.
struct Scene {
  Painter formPainter{RGB(0, 0, 255), {10, 10, 50, 50}};
  Painter boxPainter{RGB(0, 255, 0), {0, 0, 40, 40}};
  TOwned<TControl> form{CreateFormControl(nullptr, "paint")};
  TControl* box = CreatePaintBoxControl(form.get());
  Scene() {
    form->SetOnPaint(MakeMethod<&Painter::Paint, TObj*, HDC>(&formPainter));
    box->SetPosition(60, 10);
    box->SetOnPaint(MakeMethod<&Painter::Paint, TObj*, HDC>(&boxPainter));
    form->EnsureWindow();
    form->SetClientSize(120, 80);
  }
  // Blackened first, so that only a fresh paint can produce the picture; read with a DC that
  // does not clip the children away.
  std::vector<COLORREF> Paint() {
    HDC dc = GetDCEx(form->Handle, nullptr, DCX_CACHE);
    PatBlt(dc, 0, 0, 400, 400, BLACKNESS);
    RedrawWindow(form->Handle, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < form->ClientHeight(); ++y)
      for (int x = 0; x < form->ClientWidth(); ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(form->Handle, dc);
    return pixels;
  }
};

TEST(BufferedPaint, DrawsTheSamePixelsAsDirectPaintingAndFreesItsBitmap) {
  const std::vector<COLORREF> direct = Scene().Paint();
  ASSERT_EQ(direct[20 * 120 + 20], RGB(0, 0, 255));
  ASSERT_EQ(direct[20 * 120 + 70], RGB(0, 255, 0));
  // The first windows and paints leave class data and cached DCs behind: counted from the second
  // round.
  std::size_t gdiBefore = 0;
  for (int round = 0; round < 2; ++round) {
    if (round == 1) gdiBefore = CountGdiObjects();
    Scene scene;
    scene.box->SetTransparent(true);
    EXPECT_TRUE(scene.form->DoubleBuffered);
    EXPECT_TRUE(scene.Paint() == direct);
    EXPECT_EQ(scene.formPainter.lastDCType, static_cast<DWORD>(OBJ_MEMDC));
    scene.form->SetClientSize(200, 150);  // a new, larger bitmap
    EXPECT_EQ(scene.Paint()[20 * 200 + 20], RGB(0, 0, 255));
  }
  EXPECT_EQ(CountGdiObjects(), gdiBefore);
}

// A buffered standard control paints itself into the memory DC that its WM_PAINT brings.
TEST(BufferedPaint, AStandardControlPaintsIntoTheBuffer) {
  auto pixels = [](bool buffered) {
    TOwned<TControl> form{CreateFormControl(nullptr, "edit")};
    TControl* edit = CreateEditControl(form.get(), 0);
    edit->SetCaption("Wg 42");
    edit->SetDoubleBuffered(buffered);
    form->EnsureWindow();
    SetFocus(nullptr);  // a blinking caret would make two pictures differ
    HDC dc = GetDCEx(edit->Handle, nullptr, DCX_CACHE);
    PatBlt(dc, 0, 0, 100, 22, BLACKNESS);
    RedrawWindow(edit->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    std::vector<COLORREF> seen;
    for (int y = 0; y < edit->ClientHeight(); ++y)
      for (int x = 0; x < edit->ClientWidth(); ++x) seen.push_back(GetPixel(dc, x, y));
    ReleaseDC(edit->Handle, dc);
    return seen;
  };
  const std::vector<COLORREF> direct = pixels(false);
  ASSERT_NE(std::count(direct.begin(), direct.end(), RGB(0, 0, 0)), 0);  // the text
  EXPECT_TRUE(pixels(true) == direct);
}

}  // namespace
