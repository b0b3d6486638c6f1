#include "bitmap.h"

#include <algorithm>
#include <cstdlib>

TBitmap::TBitmap(std::uint8_t handleType, int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), handleType_(handleType) {
  Remake();
}

TBitmap* TBitmap::CreateBitmap(int width, int height) {
  return new TBitmap(bmDDB, width, height);
}

TBitmap* TBitmap::CreateDIBBitmap(int width, int height) {
  return new TBitmap(bmDIB, width, height);
}

TBitmap::~TBitmap() {
  canvas_.reset();  // puts the DC's own pen, brush and font back
  ReleaseCanvas();  // and its own bitmap, before the DC and our bitmap are deleted
}

void TBitmap::SetWidth(int width) {
  width = std::max(width, 0);
  if (width == width_) return;
  width_ = width;
  Remake();
}

void TBitmap::SetHeight(int height) {
  height = std::max(height, 0);
  if (height == height_) return;
  height_ = height;
  Remake();
}

HBITMAP TBitmap::MakeHandle(int width, int height, void** bits) const {
  *bits = nullptr;
  TScreenDC screen;
  if (handleType_ == bmDDB) return CreateCompatibleBitmap(screen.Get(), width, height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

void TBitmap::Remake() {
  ReleaseCanvas();
  TGdiObject<HBITMAP> old = std::move(handle_);
  dibBits_ = nullptr;
  if (width_ > 0 && height_ > 0) {
    void* bits = nullptr;
    TGdiObject<HBITMAP> made(MakeHandle(width_, height_, &bits));
    if (made) {
      TMemoryDC target(nullptr);
      {
        TSelectGuard selectTarget(target.Get(), made.Get());
        TGdiObject<HBRUSH> fill(CreateSolidBrush(ResolveColor(BkColor)));
        const RECT all{0, 0, width_, height_};
        if (fill) ::FillRect(target.Get(), &all, fill.Get());
        BITMAP oldInfo{};
        if (old && GetObjectW(old.Get(), sizeof oldInfo, &oldInfo)) {
          TMemoryDC source(nullptr);
          TSelectGuard selectSource(source.Get(), old.Get());
          BitBlt(target.Get(), 0, 0, oldInfo.bmWidth, std::abs(oldInfo.bmHeight), source.Get(), 0,
                 0, SRCCOPY);
        }
      }
      handle_ = std::move(made);
      dibBits_ = bits;
    }
  }
  SelectIntoCanvas();
}

TCanvas* TBitmap::Canvas() {
  if (canvas_) return canvas_.get();
  canvasDC_ = std::make_unique<TMemoryDC>(nullptr);
  canvas_.reset(TCanvas::CreateCanvas(canvasDC_->Get()));
  canvas_->Brush()->SetColor(BkColor);
  canvas_->OnChange = MakeMethod<&TBitmap::CanvasChanging, TCanvas*>(this);
  SelectIntoCanvas();
  return canvas_.get();
}

void TBitmap::SelectIntoCanvas() {
  if (!canvas_ || !handle_ || canvasDCOriginal_ || !canvasDC_->Get()) return;
  canvasDCOriginal_ = SelectObject(canvasDC_->Get(), handle_.Get());
}

void TBitmap::ReleaseCanvas() {
  if (!canvasDCOriginal_) return;
  SelectObject(canvasDC_->Get(), canvasDCOriginal_);
  canvasDCOriginal_ = nullptr;
}

void TBitmap::CanvasChanging(TCanvas* canvas) {
  BkColor = canvas->Brush()->Color();
  SelectIntoCanvas();
}

void TBitmap::Draw(HDC dc, int x, int y) {
  if (!handle_ || !dc) return;
  BITMAP info{};
  if (!GetObjectW(handle_.Get(), sizeof info, &info)) return;
  const int height = std::abs(info.bmHeight);
  // The canvas's DC holds the picture already; a DC of its own is made only without one.
  SelectIntoCanvas();
  if (canvasDCOriginal_) {
    BitBlt(dc, x, y, info.bmWidth, height, canvasDC_->Get(), 0, 0, SRCCOPY);
    return;
  }
  TMemoryDC source(dc);
  TSelectGuard select(source.Get(), handle_.Get());
  BitBlt(dc, x, y, info.bmWidth, height, source.Get(), 0, 0, SRCCOPY);
}
