#include "canvas.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);

// A white 64x64 picture on a memory DC owned by the test, not by the code under test.
class Surface {
public:
  static constexpr int Size = 64;
  Surface() {
    TScreenDC screen;
    bitmap_.Reset(CreateCompatibleBitmap(screen.Get(), Size, Size));
    original_ = SelectObject(dc_.Get(), bitmap_.Get());
    PatBlt(dc_.Get(), 0, 0, Size, Size, WHITENESS);
  }
  ~Surface() { SelectObject(dc_.Get(), original_); }
  HDC dc() const { return dc_.Get(); }
  COLORREF at(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
  std::vector<COLORREF> all() const {
    std::vector<COLORREF> pixels;
    for (int i = 0; i < Size * Size; ++i) pixels.push_back(at(i % Size, i / Size));
    return pixels;
  }
  int countOf(COLORREF color) const {
    int count = 0;
    for (COLORREF pixel : all()) count += pixel == color;
    return count;
  }

private:
  TMemoryDC dc_{nullptr};
  TGdiObject<HBITMAP> bitmap_;
  HGDIOBJ original_ = nullptr;
};

using CanvasPtr = TOwned<TCanvas>;

TEST(Canvas, FillRectLineAndRectangleDrawWhatTheyShould) {
  Surface surface;
  CanvasPtr canvas(TCanvas::CreateCanvas(surface.dc()));
  canvas->Brush()->SetColor(0x00336699);
  canvas->FillRect(RECT{4, 5, 10, 12});
  EXPECT_EQ(surface.at(9, 11), RGB(0x99, 0x66, 0x33));
  EXPECT_EQ(surface.countOf(RGB(0x99, 0x66, 0x33)), 6 * 7);

  canvas->Pen()->SetColor(0x0000FF);
  canvas->MoveTo(10, 20);
  canvas->LineTo(20, 20);
  EXPECT_EQ(surface.at(10, 20), Red);
  EXPECT_EQ(surface.at(19, 20), Red);
  EXPECT_EQ(surface.at(20, 20), White) << "the end point is not drawn";
  EXPECT_EQ(surface.countOf(Red), 10);

  canvas->Brush()->SetColor(0x00FF00);
  canvas->Rectangle(30, 30, 40, 36);
  EXPECT_EQ(surface.at(30, 30), Red);
  EXPECT_EQ(surface.at(39, 35), Red);
  EXPECT_EQ(surface.at(40, 36), White);
  EXPECT_EQ(surface.countOf(Green), 8 * 4);
}

TEST(Canvas, EmptyTextDrawsNothing) {
  Surface surface;
  CanvasPtr canvas(TCanvas::CreateCanvas(surface.dc()));
  canvas->Brush()->SetColor(0x0000FF);
  const std::vector<COLORREF> before = surface.all();
  canvas->TextOut(3, 3, "");
  EXPECT_EQ(surface.all(), before);
  canvas->TextOut(3, 3, "0");
  EXPECT_NE(surface.all(), before) << "the same call with a text must draw";
}

TEST(Canvas, ChangedToolIsTakenOutOfTheDcBeforeItIsDeleted) {
  Surface surface;
  HGDIOBJ stockPen = GetCurrentObject(surface.dc(), OBJ_PEN);
  CanvasPtr canvas(TCanvas::CreateCanvas(surface.dc()));
  canvas->Pen()->SetColor(0x0000FF);
  canvas->LineTo(5, 1);
  HGDIOBJ redPen = canvas->Pen()->ToolHandle();
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), redPen);

  canvas->Pen()->SetColor(0x00FF00);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), stockPen);
  EXPECT_EQ(canvas->SelectedState() & csPenValid, 0);
  EXPECT_EQ(GetObjectType(redPen), 0u);

  canvas->MoveTo(0, 2);
  canvas->LineTo(5, 2);
  EXPECT_EQ(surface.at(2, 2), Green);
}

TEST(Canvas, FreeingOrLeavingTheDcPutsItsOwnObjectsBack) {
  Surface first;
  Surface second;
  const auto selected = [](HDC dc) {
    return std::vector<HGDIOBJ>{GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
                                GetCurrentObject(dc, OBJ_FONT)};
  };
  const std::vector<HGDIOBJ> stock = selected(first.dc());
  CanvasPtr canvas(TCanvas::CreateCanvas(first.dc()));
  canvas->Pen()->SetColor(0x0000FF);
  canvas->Brush()->SetColor(0x00FF00);
  canvas->Rectangle(0, 0, 10, 10);
  canvas->TextOut(0, 20, "1");
  HGDIOBJ pen = canvas->Pen()->ToolHandle();

  canvas->SetDC(second.dc());
  EXPECT_EQ(selected(first.dc()), stock);
  canvas->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(GetCurrentObject(second.dc(), OBJ_PEN), pen);

  canvas.reset();
  EXPECT_EQ(selected(second.dc()), stock);
  EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(Canvas, WithoutADcNothingIsDrawnUntilTheProviderGivesOne) {
  Surface surface;
  CanvasPtr canvas(TCanvas::CreateCanvas());
  canvas->Brush()->SetColor(0x0000FF);
  canvas->FillRect(RECT{0, 0, 5, 5});
  canvas->LineTo(4, 4);
  EXPECT_EQ(surface.countOf(White), Surface::Size * Surface::Size);

  struct Provider {
    HDC provide(TCanvas*) { return ++asked, dc; }
    HDC dc;
    int asked = 0;
  } provider{surface.dc()};
  canvas->OnNeedDC = MakeFunc<&Provider::provide, HDC, TCanvas*>(&provider);
  canvas->FillRect(RECT{0, 0, 5, 5});
  canvas->FillRect(RECT{0, 0, 6, 6});
  EXPECT_EQ(surface.at(5, 5), Red);
  EXPECT_EQ(provider.asked, 1);
}

TEST(Canvas, ChangeHookRunsBeforeTheSurfaceChangesAndOnlyForDrawing) {
  Surface surface;
  CanvasPtr canvas(TCanvas::CreateCanvas(surface.dc()));
  struct Hook {
    void changing(TCanvas*) { seen.push_back(surface->at(1, 1)); }
    const Surface* surface;
    std::vector<COLORREF> seen;
  } hook{&surface, {}};
  canvas->OnChange = MakeMethod<&Hook::changing, TCanvas*>(&hook);
  canvas->Brush()->SetColor(0x0000FF);
  canvas->FillRect(RECT{0, 0, 4, 4});
  canvas->Brush()->SetColor(0x00FF00);
  canvas->FillRect(RECT{0, 0, 4, 4});
  canvas->MoveTo(0, 0);
  canvas->TextExtent("abc");
  EXPECT_EQ(hook.seen, (std::vector<COLORREF>{White, Red}));
}

// A control that has not made its own tools: the canvas takes its colours.
struct FakeOwner : TCanvasOwner {
  TColor CanvasColor() override { return 0x00FF0000; }
  TColor CanvasFontColor() override { return 0x0000FF00; }
};

TEST(Canvas, OwnerGivesDefaultColoursAndSystemWindowBrushOtherwise) {
  Surface surface;
  FakeOwner owner;
  CanvasPtr owned(TCanvas::CreateCanvas(surface.dc(), &owner));
  owned->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(surface.at(1, 1), RGB(0, 0, 255));
  owned->RequireState(csHandleValid | csFontValid);
  EXPECT_EQ(GetTextColor(surface.dc()), Green);
  EXPECT_EQ(owned->Brush()->Color(), 0x00FF0000u);
  owned.reset();

  CanvasPtr bare(TCanvas::CreateCanvas(surface.dc()));
  bare->FillRect(RECT{10, 10, 14, 14});
  EXPECT_EQ(surface.at(11, 11), GetSysColor(COLOR_WINDOW));
}

TEST(Canvas, CyrillicTextCrossesToTheWideFunctions) {
  const std::string voltage = "Напряжение";
  const std::wstring wide = L"\x041D\x0430\x043F\x0440\x044F\x0436\x0435\x043D\x0438\x0435";

  Surface ours;
  Surface reference;
  CanvasPtr canvas(TCanvas::CreateCanvas(ours.dc()));
  CanvasPtr referenceCanvas(TCanvas::CreateCanvas(reference.dc()));
  for (TCanvas* c : {canvas.get(), referenceCanvas.get()}) {
    c->Font()->SetFontHeight(12);
    c->Font()->SetColor(0x000000);
    c->Brush()->SetColor(0xFFFFFF);
  }
  canvas->TextOut(2, 2, voltage);
  referenceCanvas->RequireState(csHandleValid | csBrushValid | csFontValid);
  TextOutW(reference.dc(), 2, 2, wide.data(), static_cast<int>(wide.size()));
  EXPECT_LT(ours.countOf(White), Surface::Size * Surface::Size) << "the text must be drawn";
  EXPECT_EQ(ours.all(), reference.all());

  SIZE expected{};
  GetTextExtentPoint32W(reference.dc(), wide.data(), static_cast<int>(wide.size()), &expected);
  const SIZE measured = canvas->TextExtent(voltage);
  EXPECT_EQ(std::pair(measured.cx, measured.cy), std::pair(expected.cx, expected.cy));

  // Without a DC of its own the canvas measures on a temporary one and lets it go again.
  CanvasPtr measuring(TCanvas::CreateCanvas());
  measuring->Font()->SetFontHeight(12);
  const SIZE withoutDc = measuring->TextExtent(voltage);
  EXPECT_EQ(std::pair(withoutDc.cx, withoutDc.cy), std::pair(expected.cx, expected.cy));
  EXPECT_EQ(measuring->DC(), nullptr);
}

}  // namespace
