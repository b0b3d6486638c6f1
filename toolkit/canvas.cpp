#include "canvas.h"

#include <string>

#include "text_codec.h"

TCanvas::TCanvas(HDC dc, TCanvasOwner* owner)
    : dc_(dc), owner_(owner), state_(dc ? csHandleValid : 0) {}

TCanvas* TCanvas::CreateCanvas(HDC dc, TCanvasOwner* owner) { return new TCanvas(dc, owner); }

// The tools are freed after this body, when none of their handles is selected any more.
TCanvas::~TCanvas() { SetDC(nullptr); }

void TCanvas::SetDC(HDC dc) {
  if (dc == dc_) return;
  RestoreSlot(font_);
  RestoreSlot(pen_);
  RestoreSlot(brush_);
  dc_ = dc;
  state_ = dc ? csHandleValid : 0;
}

bool TCanvas::EnsureDC() {
  if (!dc_ && OnNeedDC) {
    if (HDC dc = OnNeedDC(this)) SetDC(dc);
  }
  return dc_ != nullptr;
}

void TCanvas::SelectTool(TSlot& slot) {
  // ToolHandle may re-make a stale handle; the old one then leaves the DC before it dies.
  HGDIOBJ handle = slot.tool->ToolHandle();
  if (!handle) return;
  HGDIOBJ previous = SelectObject(dc_, handle);
  if (!slot.original) slot.original = previous;
}

void TCanvas::RestoreSlot(TSlot& slot) {
  if (slot.original && dc_) SelectObject(dc_, slot.original);
  slot.original = nullptr;
}

bool TCanvas::RequireState(std::uint8_t bits) {
  if (bits & csChange) OnChange(this);
  if (!EnsureDC()) return false;

  if ((bits & csFontValid) && !(state_ & csFontValid)) {
    if (font_.tool) {
      SelectTool(font_);
      SetTextColor(dc_, ResolveColor(font_.tool->Color()));
    } else if (owner_) {
      SetTextColor(dc_, ResolveColor(owner_->CanvasFontColor()));
    }
    state_ |= csFontValid;
  }

  if ((bits & csPenValid) && !(state_ & csPenValid)) {
    if (pen_.tool) {
      SelectTool(pen_);
      SetROP2(dc_, pen_.tool->PenMode() + 1);
      // The gaps of dashes and dots are painted with the background colour.
      const std::uint8_t style = pen_.tool->PenStyle();
      if (style >= PS_DASH && style <= PS_DASHDOTDOT) bits |= csBrushValid;
    }
    state_ |= csPenValid;
  }

  if ((bits & csBrushValid) && !(state_ & csBrushValid)) {
    if (brush_.tool) {
      SelectTool(brush_);
      const COLORREF color = ResolveColor(brush_.tool->Color());
      if (brush_.tool->BrushStyle() == bsSolid) {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, color);
      } else {
        SetBkMode(dc_, TRANSPARENT);
        SetBkColor(dc_, ~color & 0x00FFFFFFu);
      }
    } else if (owner_) {
      SetBkColor(dc_, ResolveColor(owner_->CanvasColor()));
      SetBkMode(dc_, OPAQUE);
    }
    state_ |= csBrushValid;
  }
  return true;
}

void TCanvas::ToolChanged(TGraphicTool* tool) {
  if (tool == font_.tool.get()) {
    RestoreSlot(font_);
    state_ &= ~csFontValid;
  } else if (tool == pen_.tool.get()) {
    RestoreSlot(pen_);
    state_ &= ~csPenValid;
  } else if (tool == brush_.tool.get()) {
    RestoreSlot(brush_);
    state_ &= ~csBrushValid;
  }
}

TGraphicTool* TCanvas::MakeTool(TSlot& slot, TGraphicTool* tool, std::uint8_t bit) {
  slot.tool.reset(tool);
  tool->OnToolChange = MakeMethod<&TCanvas::ToolChanged, TGraphicTool*>(this);
  // Until now the DC's own object stood for the tool; the new one must be selected.
  state_ &= ~bit;
  return tool;
}

TGraphicTool* TCanvas::Brush() {
  if (brush_.tool) return brush_.tool.get();
  TGraphicTool* tool = TGraphicTool::CreateBrushTool();
  if (owner_) tool->SetColor(owner_->CanvasColor());
  return MakeTool(brush_, tool, csBrushValid);
}

TGraphicTool* TCanvas::Font() {
  if (font_.tool) return font_.tool.get();
  TGraphicTool* tool = TGraphicTool::CreateFontTool();
  if (owner_) {
    if (const TGraphicTool* ownerFont = owner_->CanvasFont()) tool->AssignTool(*ownerFont);
    tool->SetColor(owner_->CanvasFontColor());
  }
  return MakeTool(font_, tool, csFontValid);
}

TGraphicTool* TCanvas::Pen() {
  if (pen_.tool) return pen_.tool.get();
  return MakeTool(pen_, TGraphicTool::CreatePenTool(), csPenValid);
}

void TCanvas::FillRect(const RECT& rect) {
  if (!RequireState(csHandleValid | csBrushValid | csChange)) return;
  TGdiObject<HBRUSH> temporary;
  HBRUSH brush = nullptr;
  if (brush_.tool) {
    brush = static_cast<HBRUSH>(brush_.tool->ToolHandle());
  } else if (owner_) {
    if (TGraphicTool* ownerBrush = owner_->CanvasBrush()) {
      brush = static_cast<HBRUSH>(ownerBrush->ToolHandle());
    } else {
      temporary.Reset(CreateSolidBrush(ResolveColor(owner_->CanvasColor())));
      brush = temporary.Get();
    }
  } else {
    brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  }
  if (brush) ::FillRect(dc_, &rect, brush);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (!RequireState(csHandleValid | csPenValid | csBrushValid | csChange)) return;
  ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::MoveTo(int x, int y) {
  if (!RequireState(csHandleValid)) return;
  MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!RequireState(csHandleValid | csPenValid | csBrushValid | csChange)) return;
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  const std::wstring wide = ToWide(text);
  if (wide.empty()) return;
  if (!RequireState(csHandleValid | csBrushValid | csFontValid | csChange)) return;
  TextOutW(dc_, x, y, wide.data(), static_cast<int>(wide.size()));
}

SIZE TCanvas::TextExtent(std::string_view text) {
  SIZE size{0, 0};
  const std::wstring wide = ToWide(text);
  const int length = static_cast<int>(wide.size());
  if (EnsureDC()) {
    if (RequireState(csHandleValid | csFontValid))
      GetTextExtentPoint32W(dc_, wide.data(), length, &size);
    return size;
  }
  // Measuring needs a DC even when the canvas has none; the temporary one leaves with the
  // canvas's font taken out of it again.
  TMemoryDC temporary(nullptr);
  if (!temporary.Get()) return size;
  SetDC(temporary.Get());
  if (RequireState(csHandleValid | csFontValid))
    GetTextExtentPoint32W(dc_, wide.data(), length, &size);
  SetDC(nullptr);
  return size;
}
