#include "graphic_tool.h"

#include <cstring>
#include <cwchar>

#include "text_codec.h"

namespace {

constexpr LONG BoldWeight = FW_BOLD;

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth &&
         a.lfEscapement == b.lfEscapement && a.lfOrientation == b.lfOrientation &&
         a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut &&
         a.lfCharSet == b.lfCharSet && a.lfOutPrecision == b.lfOutPrecision &&
         a.lfClipPrecision == b.lfClipPrecision && a.lfQuality == b.lfQuality &&
         a.lfPitchAndFamily == b.lfPitchAndFamily &&
         std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

TGraphicTool::TGraphicTool(TToolKind kind) : kind_(kind) {}

TGraphicTool* TGraphicTool::CreateFontTool() {
  auto* tool = new TGraphicTool(TToolKind::Font);
  tool->color_ = ColorWindowText;
  tool->font_.lfCharSet = DEFAULT_CHARSET;
  std::wcscpy(tool->font_.lfFaceName, L"MS Sans Serif");
  return tool;
}

TGraphicTool* TGraphicTool::CreateBrushTool() {
  auto* tool = new TGraphicTool(TToolKind::Brush);
  tool->color_ = ColorButtonFace;
  return tool;
}

TGraphicTool* TGraphicTool::CreatePenTool() { return new TGraphicTool(TToolKind::Pen); }

TGraphicTool* TGraphicTool::AssignTool(TGraphicTool* target, const TGraphicTool* source) {
  if (!source) {
    TObj::Free(target);
    return nullptr;
  }
  if (!target) target = new TGraphicTool(source->kind_);
  target->AssignTool(*source);
  return target;
}

void TGraphicTool::AssignTool(const TGraphicTool& source) {
  if (&source == this) return;
  // Another kind's data mean nothing here; only the colour carries over.
  if (source.kind_ != kind_) {
    SetColor(source.color_);
    return;
  }
  color_ = source.color_;
  font_ = source.font_;
  brushBitmap_ = source.brushBitmap_;
  brushStyle_ = source.brushStyle_;
  hatchColor_ = source.hatchColor_;
  penStyle_ = source.penStyle_;
  penWidth_ = source.penWidth_;
  penMode_ = source.penMode_;
  Changed();
}

HGDIOBJ TGraphicTool::ToolHandle() {
  const COLORREF resolved = ResolveColor(color_);
  // Only a system colour can resolve differently while color_ stays the same.
  if (handle_ && resolved != madeColor_) Changed();
  if (!handle_) {
    handle_.Reset(MakeHandle(resolved));
    madeColor_ = resolved;
  }
  return handle_.Get();
}

HGDIOBJ TGraphicTool::MakeHandle(COLORREF resolved) const {
  switch (kind_) {
    case TToolKind::Font:
      return CreateFontIndirectW(&font_);
    case TToolKind::Brush: {
      LOGBRUSH brush{};
      brush.lbColor = resolved;
      if (brushBitmap_) {
        brush.lbStyle = BS_PATTERN;
        brush.lbHatch = reinterpret_cast<ULONG_PTR>(brushBitmap_);
      } else if (brushStyle_ == bsSolid) {
        brush.lbStyle = BS_SOLID;
      } else if (brushStyle_ == bsClear) {
        brush.lbStyle = BS_HOLLOW;
      } else {
        brush.lbStyle = BS_HATCHED;
        brush.lbColor = ResolveColor(hatchColor_);
        brush.lbHatch = static_cast<ULONG_PTR>(brushStyle_ - bsHatchBase);
      }
      return CreateBrushIndirect(&brush);
    }
    case TToolKind::Pen: {
      LOGPEN pen{};
      pen.lopnStyle = penStyle_;
      pen.lopnWidth.x = penWidth_;
      pen.lopnColor = resolved;
      return CreatePenIndirect(&pen);
    }
  }
  return nullptr;
}

void TGraphicTool::Changed() {
  if (handle_) {
    // The listener must take the old handle out of its DC before the handle is deleted.
    TGdiObject<HGDIOBJ> old = std::move(handle_);
    OnToolChange(this);
    old.Reset();
  }
  OnToolChange(this);
}

template <class T>
void TGraphicTool::Store(TToolKind kind, T& field, T value) {
  if (kind != kind_ || field == value) return;
  field = value;
  Changed();
}

void TGraphicTool::SetColor(TColor color) { Store(kind_, color_, color); }

void TGraphicTool::SetFontHeight(std::int32_t height) {
  Store<LONG>(TToolKind::Font, font_.lfHeight, height);
}

void TGraphicTool::SetFontWeight(std::int32_t weight) {
  Store<LONG>(TToolKind::Font, font_.lfWeight, weight);
}

void TGraphicTool::SetFontCharset(std::uint8_t charset) {
  Store<BYTE>(TToolKind::Font, font_.lfCharSet, charset);
}

std::uint8_t TGraphicTool::FontStyle() const {
  std::uint8_t style = 0;
  if (font_.lfWeight >= BoldWeight) style |= fsBold;
  if (font_.lfItalic) style |= fsItalic;
  if (font_.lfUnderline) style |= fsUnderline;
  if (font_.lfStrikeOut) style |= fsStrikeOut;
  return style;
}

void TGraphicTool::SetFontStyle(std::uint8_t style) {
  if (kind_ != TToolKind::Font) return;
  LOGFONTW next = font_;
  if (style & fsBold) {
    if (next.lfWeight < BoldWeight) next.lfWeight = BoldWeight;
  } else {
    next.lfWeight = 0;
  }
  next.lfItalic = (style & fsItalic) ? 1 : 0;
  next.lfUnderline = (style & fsUnderline) ? 1 : 0;
  next.lfStrikeOut = (style & fsStrikeOut) ? 1 : 0;
  if (SameFont(next, font_)) return;
  font_ = next;
  Changed();
}

std::string TGraphicTool::FontName() const {
  return FromWide(std::wstring_view(font_.lfFaceName, std::wcslen(font_.lfFaceName)));
}

void TGraphicTool::SetFontName(std::string_view name) {
  if (kind_ != TToolKind::Font) return;
  // Windows-1251 is one byte per character, so the cut keeps whole characters.
  const std::wstring wide = ToWide(name.substr(0, LF_FACESIZE - 1));
  wchar_t face[LF_FACESIZE] = {};
  std::memcpy(face, wide.data(), wide.size() * sizeof(wchar_t));
  if (std::wcsncmp(face, font_.lfFaceName, LF_FACESIZE) == 0) return;
  std::memcpy(font_.lfFaceName, face, sizeof face);
  Changed();
}

void TGraphicTool::SetBrushStyle(std::uint8_t style) {
  Store(TToolKind::Brush, brushStyle_, style);
}

void TGraphicTool::SetHatchColor(TColor color) { Store(TToolKind::Brush, hatchColor_, color); }

void TGraphicTool::SetBrushBitmap(HBITMAP bitmap) { Store(TToolKind::Brush, brushBitmap_, bitmap); }

void TGraphicTool::SetPenStyle(std::uint8_t style) { Store(TToolKind::Pen, penStyle_, style); }

void TGraphicTool::SetPenWidth(std::int32_t width) { Store(TToolKind::Pen, penWidth_, width); }

void TGraphicTool::SetPenMode(std::uint8_t mode) { Store(TToolKind::Pen, penMode_, mode); }
