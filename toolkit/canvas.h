#pragma once
// A drawing surface on a borrowed device context. Tools are selected only when an operation
// needs them and they are not selected yet; the DC's own objects go back in before the DC is
// let go, so no tool handle is ever deleted while selected.

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "color.h"
#include "graphic_tool.h"
#include "method.h"
#include "obj.h"

// The canvas method keeps its own name; platform text calls use TextOutW explicitly.
#undef TextOut

class TCanvas;

// What a control gives its canvas: default colours and its own tools (null when not made).
class TCanvasOwner {
public:
  virtual TColor CanvasColor() = 0;      // background: the brush colour
  virtual TColor CanvasFontColor() = 0;  // text colour
  virtual TGraphicTool* CanvasFont() { return nullptr; }
  virtual TGraphicTool* CanvasBrush() { return nullptr; }

protected:
  ~TCanvasOwner() = default;
};

// RequireState bits.
inline constexpr std::uint8_t csHandleValid = 0x01;
inline constexpr std::uint8_t csPenValid = 0x02;
inline constexpr std::uint8_t csBrushValid = 0x04;
inline constexpr std::uint8_t csFontValid = 0x08;
inline constexpr std::uint8_t csChange = 0x10;

class TCanvas : public TObj {
public:
  // dc is borrowed (may be null); the canvas never deletes or releases it.
  static TCanvas* CreateCanvas(HDC dc = nullptr, TCanvasOwner* owner = nullptr);

  HDC DC() const { return dc_; }
  // Puts the old DC's own objects back first; null lets go of the DC.
  void SetDC(HDC dc);
  std::uint8_t SelectedState() const { return state_; }

  // Tells the change hook (0x10), gets the DC (0x01) and selects what is asked for and not
  // selected yet: font 8, pen 2, brush 4. False when there is no DC: the operation ends.
  bool RequireState(std::uint8_t bits);

  void FillRect(const RECT& rect);
  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // the end point itself is not drawn
  void TextOut(int x, int y, std::string_view text);  // Windows-1251; "" draws nothing
  SIZE TextExtent(std::string_view text);

  // Made on first use; owned by the canvas, which holds their OnToolChange.
  TGraphicTool* Brush();
  TGraphicTool* Font();
  TGraphicTool* Pen();
  bool HasBrush() const { return static_cast<bool>(brush_.tool); }
  bool HasFont() const { return static_cast<bool>(font_.tool); }
  bool HasPen() const { return static_cast<bool>(pen_.tool); }

  TCanvasOwner* Owner() const { return owner_; }

  TMethod<TCanvas*> OnChange;      // before any drawing that changes the surface
  TFunc<HDC, TCanvas*> OnNeedDC;   // asked for a borrowed DC when the canvas has none

protected:
  ~TCanvas() override;

private:
  TCanvas(HDC dc, TCanvasOwner* owner);

  // One tool slot: the DC's own object is kept while ours is selected in its place.
  struct TSlot {
    TOwned<TGraphicTool> tool;
    HGDIOBJ original = nullptr;
  };

  bool EnsureDC();
  void SelectTool(TSlot& slot);
  void RestoreSlot(TSlot& slot);
  void ToolChanged(TGraphicTool* tool);
  TGraphicTool* MakeTool(TSlot& slot, TGraphicTool* tool, std::uint8_t bit);

  HDC dc_ = nullptr;
  TCanvasOwner* owner_ = nullptr;
  std::uint8_t state_ = 0;
  TSlot brush_;
  TSlot font_;
  TSlot pen_;
};
