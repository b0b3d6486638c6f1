#pragma once
// An off-screen picture with its own canvas on a memory DC: the grapher's back buffer.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "canvas.h"
#include "color.h"
#include "graphic_tool.h"
#include "obj.h"

// HandleType values.
inline constexpr std::uint8_t bmDIB = 0;
inline constexpr std::uint8_t bmDDB = 1;

class TBitmap : public TObj {
public:
  // Device-dependent, compatible with the screen; made when both sizes are non-zero.
  static TBitmap* CreateBitmap(int width, int height);
  // A 32-bit top-down DIB section whose pixels can be reached directly.
  static TBitmap* CreateDIBBitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Nothing when unchanged; otherwise a new picture filled with BkColor, the old one copied to
  // its top-left corner. Negative sizes count as 0 (an empty bitmap).
  void SetWidth(int width);
  void SetHeight(int height);

  bool Empty() const { return !handle_; }
  HBITMAP Handle() const { return handle_.Get(); }  // borrowed
  std::uint8_t HandleType() const { return handleType_; }
  // DIB form only: Height() rows of Width() 32-bit pixels, top row first. Call GdiFlush before
  // reading what GDI drew.
  void* DIBBits() const { return dibBits_; }

  // Made on first use, with the brush colour BkColor; every drawing on it copies the brush
  // colour back into BkColor.
  TCanvas* Canvas();
  bool HasCanvas() const { return static_cast<bool>(canvas_); }
  // Takes the picture out of the canvas's DC (a bitmap can be in one DC only); the next
  // drawing on the canvas puts it back.
  void ReleaseCanvas();

  // Copies the whole picture to dc with its top-left corner at (x, y); an empty one draws
  // nothing.
  void Draw(HDC dc, int x, int y);

  TColor BkColor = 0;

protected:
  ~TBitmap() override;

private:
  TBitmap(std::uint8_t handleType, int width, int height);

  HBITMAP MakeHandle(int width, int height, void** bits) const;
  void Remake();
  void SelectIntoCanvas();
  void CanvasChanging(TCanvas* canvas);

  int width_ = 0;
  int height_ = 0;
  std::uint8_t handleType_;
  TGdiObject<HBITMAP> handle_;
  void* dibBits_ = nullptr;
  // Declared before the canvas so that the canvas goes first.
  std::unique_ptr<TMemoryDC> canvasDC_;
  HGDIOBJ canvasDCOriginal_ = nullptr;  // the DC's own bitmap while ours is in it
  TOwned<TCanvas> canvas_;
};
