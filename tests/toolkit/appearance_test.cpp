#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bitmap.h"
#include "live_form.h"
#include "resource_count.h"
#include "window_facts.h"

namespace {

struct Painter {
  COLORREF color;
  RECT square;
  DWORD lastDCType = 0;
  RECT invalidateOnce{};  // invalidated from inside the first paint
  void Paint(TObj* sender, HDC dc) {
    lastDCType = GetObjectType(dc);
    if (!IsRectEmpty(&invalidateOnce))
      InvalidateRect(static_cast<TControl*>(sender)->Handle, &invalidateOnce, TRUE);
    invalidateOnce = {};
    TGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &square, brush.Get());
  }
};

// Blackened first, so that only a fresh paint can produce the picture; read with a DC that does
// not clip the children away.
std::vector<COLORREF> Repainted(TControl* control, UINT children) {
  HDC dc = GetDCEx(control->Handle, nullptr, DCX_CACHE);
  PatBlt(dc, 0, 0, 400, 400, BLACKNESS);
  RedrawWindow(control->Handle, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | children);
  std::vector<COLORREF> pixels = PixelsOf(dc, control->ClientWidth(), control->ClientHeight());
  ReleaseDC(control->Handle, dc);
  return pixels;
}

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
};

TEST(BufferedPaint, DrawsTheSamePixelsAsDirectPaintingAndFreesItsBitmap) {
  const std::vector<COLORREF> direct = Repainted(Scene().form.get(), RDW_ALLCHILDREN);
  ASSERT_EQ(direct[20 * 120 + 20], RGB(0, 0, 255));
  ASSERT_EQ(direct[20 * 120 + 70], RGB(0, 255, 0));
  const auto paintBuffered = [&](Scene& scene) {
    scene.box->SetTransparent(true);
    EXPECT_TRUE(scene.form->DoubleBuffered);
    EXPECT_TRUE(Repainted(scene.form.get(), RDW_ALLCHILDREN) == direct);
    EXPECT_EQ(scene.formPainter.lastDCType, static_cast<DWORD>(OBJ_MEMDC));
    scene.form->SetClientSize(200, 150);  // a new, larger bitmap
    EXPECT_EQ(Repainted(scene.form.get(), RDW_ALLCHILDREN)[20 * 200 + 20], RGB(0, 0, 255));
  };
  // A second window in use at once leaves more cached window DCs and their regions for good:
  // they are left out. The first scene lives on, so that the second cannot take its place.
  const auto count = [] {
    return CountGdiObjects() - CountGdiObjects(OBJ_DC) - CountGdiObjects(OBJ_REGION);
  };
  Scene first;
  paintBuffered(first);
  const std::size_t before = count();
  {
    Scene second;
    paintBuffered(second);
  }
  EXPECT_EQ(count(), before);
}

// What is invalidated while a buffered paint runs, outside what it paints, is painted next:
// by the handler itself, or as the pending region that the paint hook invalidates again.
TEST(BufferedPaint, WhatIsInvalidatedDuringThePaintIsPaintedNext) {
  const RECT first{0, 0, 40, 40}, second{60, 55, 110, 75};
  for (const bool pending : {false, true}) {
    SCOPED_TRACE(pending ? "pending region" : "invalidated by the handler");
    Scene scene;
    scene.form->SetDoubleBuffered(true);
    scene.formPainter.square = {0, 0, 120, 80};
    if (pending) scene.form->PendingInvalidRegion.Reset(CreateRectRgnIndirect(&second));
    scene.formPainter.invalidateOnce = pending ? RECT{} : second;
    UpdateWindow(scene.form->Handle);  // the paint that showing the form asked for
    HDC dc = GetDCEx(scene.form->Handle, nullptr, DCX_CACHE);
    PatBlt(dc, 0, 0, 120, 80, BLACKNESS);
    RedrawWindow(scene.form->Handle, &first, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    UpdateWindow(scene.form->Handle);
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 80, 65), RGB(0, 0, 255));
    ReleaseDC(scene.form->Handle, dc);
  }
}

// A child's pending clip is in its own coordinates and only narrows what its buffered parent
// lets it paint: a child that paints beyond its edges leaves its sibling alone.
TEST(BufferedPaint, AChildsPendingClipKeepsItOffItsSibling) {
  Scene scene;
  Painter siblingPainter{RGB(255, 0, 0), {0, 0, 40, 40}};
  TControl* sibling = CreatePaintBoxControl(scene.form.get());
  sibling->SetPosition(10, 10);
  sibling->SetOnPaint(MakeMethod<&Painter::Paint, TObj*, HDC>(&siblingPainter));
  scene.box->SetTransparent(true);
  // Painted first, so that nothing painted later can cover what the box did to it.
  SetWindowPos(sibling->EnsureWindow(), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Repainted(scene.form.get(), RDW_ALLCHILDREN);
  scene.boxPainter.square = {-60, -10, 60, 70};
  scene.boxPainter.color = RGB(0, 128, 0);
  scene.box->PendingClipRegion.Reset(CreateRectRgn(-20, 0, 40, 40));  // reaches the sibling
  // The form's own clip must not outlast its paint: its children are printed after it.
  scene.form->PendingClipRegion.Reset(CreateRectRgn(0, 0, 1, 1));
  const std::vector<COLORREF> pixels = Repainted(scene.form.get(), 0);
  EXPECT_EQ(pixels[20 * 120 + 20], RGB(255, 0, 0));
  EXPECT_EQ(pixels[20 * 120 + 45], RGB(255, 0, 0));
  EXPECT_EQ(pixels[20 * 120 + 80], RGB(0, 128, 0));
}

// A caret is drawn by inverting the screen. A buffered picture copied over a caret that is on
// leaves nothing for the caret's hiding to invert back: hiding it as the focus leaves would
// draw a caret that stays.
TEST(BufferedPaint, NoCaretIsLeftBehindWhenTheFocusLeaves) {
  for (const bool ownBuffer : {true, false}) {
    SCOPED_TRACE(ownBuffer ? "buffered edit" : "edit in a buffered form");
    TestForm form(true);
    TControl* edit = CreateEditControl(form.get(), 0);
    edit->SetCaption("Wg 42");
    // Wine prints a child's client area at the corner of its frame: no frame, no shift.
    edit->SetExStyle(edit->ExStyle & ~WS_EX_CLIENTEDGE);
    edit->SetStyle(edit->Style & ~WS_BORDER);
    (ownBuffer ? edit : form.get())->SetDoubleBuffered(true);
    const HWND window = edit->EnsureWindow();
    RedrawWindow(form->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetFocus(window);
    ASSERT_EQ(GetFocus(), window);  // else no caret is ever drawn
    RedrawWindow(ownBuffer ? window : form->Handle, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW);
    SetFocus(nullptr);
    HDC dc = GetDC(window);
    const std::vector<COLORREF> left = PixelsOf(dc, edit->ClientWidth(), edit->ClientHeight());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(PixelsOf(dc, edit->ClientWidth(), edit->ClientHeight()) == left);
    ReleaseDC(window, dc);
  }
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
    return Repainted(edit, 0);
  };
  const std::vector<COLORREF> direct = pixels(false);
  ASSERT_NE(std::count(direct.begin(), direct.end(), RGB(0, 0, 0)), 0);  // the text
  EXPECT_TRUE(pixels(true) == direct);
}

// Controls with their fonts and colour brushes, and a bitmap drawn on with a pen re-made while
// selected: once the platform made its lasting objects, every round gives back all it made. The
// captions are Windows-1251 bytes inside and UTF-16 in the windows.
TEST(Controls, CreatingFreeingAndDrawingGiveBackEveryWindowAndGdiObject) {
  TestForm form;
  const auto round = [&] {
    TOwned<TControl> label(CreateLabelControl(form.get(), "Напряжение,В"));
    TOwned<TControl> edit(CreateEditControl(form.get(), eoMultiline));
    TOwned<TControl> button(CreateButtonControl(form.get(), "цикл"));
    for (TControl* c : {label.get(), edit.get(), button.get()}) {
      c->Font()->SetFontHeight(-13);
      ASSERT_NE(c->EnsureWindow(), nullptr);
      SendMessageW(c->Handle, CM_CTLCOLOR_BASE + WM_CTLCOLORSTATIC, 0, 0);  // makes the brush
    }
    EXPECT_EQ(WindowText(label->Handle),
              L"\u041D\u0430\u043F\u0440\u044F\u0436\u0435\u043D\u0438\u0435,\u0412");
    SetWindowTextW(label->Handle, L"\u0446\u0438\u043A\u043B");  // the live text wins
    EXPECT_EQ(label->GetCaption(), "\xF6\xE8\xEA\xEB");
    TOwned<TBitmap> bitmap(TBitmap::CreateBitmap(6, 6));
    TCanvas& canvas = *bitmap->Canvas();
    canvas.Pen()->SetColor(0x0000FF);
    canvas.Rectangle(0, 0, 4, 4);
    canvas.Pen()->SetColor(0x00FF00);
    canvas.LineTo(3, 3);
    canvas.TextOut(0, 0, "1");
    bitmap->SetWidth(8);
    // Windows deletes no tool still selected into a DC (Wine does): a canvas that is done has
    // put the DC's own objects back.
    TMemoryDC memory(nullptr);
    const auto current = [dc = memory.Get()] {
      return std::vector{GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
                         GetCurrentObject(dc, OBJ_FONT)};
    };
    const auto own = current();
    TOwned<TCanvas> onDC(TCanvas::CreateCanvas(memory.Get()));
    for (TGraphicTool* tool : {onDC->Brush(), onDC->Pen(), onDC->Font()}) tool->SetColor(0xFF);
    onDC->Rectangle(0, 0, 4, 4);
    onDC->TextOut(0, 0, "1");
    onDC.reset();
    EXPECT_EQ(current(), own);
  };
  round();
  const std::size_t gdi = CountGdiObjects();
  const std::size_t windows = CountWindows();
  for (int i = 0; i < 20; ++i) round();
  EXPECT_EQ(CountGdiObjects(), gdi);
  EXPECT_EQ(CountWindows(), windows);
}

}  // namespace
