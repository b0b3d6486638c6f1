#pragma once
// A font, brush or pen description that makes its GDI object lazily and re-makes it after a
// real change; plus the owning handle types the drawing classes share.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "color.h"
#include "method.h"
#include "obj.h"

// Owner of one GDI object (font, brush, pen, bitmap): move-only, deletes it exactly once, and
// hands the raw handle out only through Get() so it never converts away by accident.
template <class H>
class TGdiObject {
public:
  TGdiObject() = default;
  explicit TGdiObject(H handle) : handle_(handle) {}
  TGdiObject(TGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

private:
  H handle_ = nullptr;
};

// Owner of a memory DC made by CreateCompatibleDC.
class TMemoryDC {
public:
  explicit TMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

// The screen DC, borrowed for the life of the guard.
class TScreenDC {
public:
  TScreenDC() : dc_(GetDC(nullptr)) {}
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  ~TScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

// A DC of a window from GetDCEx, released at the end of the scope.
class TWindowDC {
public:
  TWindowDC(HWND window, DWORD flags) : window_(window), dc_(GetDCEx(window, nullptr, flags)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// BeginPaint, ended by EndPaint on every road out of the scope.
class TPaintScope {
public:
  explicit TPaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  ~TPaintScope() {
    if (dc_) EndPaint(window_, &paint_);
  }
  HDC Get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at the end of the scope.
class TSelectGuard {
public:
  TSelectGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;
  ~TSelectGuard() {
    if (previous_) SelectObject(dc_, previous_);
  }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

enum class TToolKind : std::uint8_t { Brush = 0, Font = 1, Pen = 2 };

// FontStyle bits.
inline constexpr std::uint8_t fsBold = 1;
inline constexpr std::uint8_t fsItalic = 2;
inline constexpr std::uint8_t fsUnderline = 4;
inline constexpr std::uint8_t fsStrikeOut = 8;

// BrushStyle: 0 solid, 1 none, 2 + n hatch pattern n.
inline constexpr std::uint8_t bsSolid = 0;
inline constexpr std::uint8_t bsClear = 1;
inline constexpr std::uint8_t bsHatchBase = 2;

class TGraphicTool : public TObj {
public:
  static TGraphicTool* CreateFontTool();   // colour 0x80000008, "MS Sans Serif", default charset
  static TGraphicTool* CreateBrushTool();  // colour 0x8000000F, solid
  static TGraphicTool* CreatePenTool();    // black, solid, width 0, copy-pen mode

  // Copies the colour and the kind data of source into target and returns the tool that now
  // holds them: a new one of the source's kind when target is null, null (target freed) when
  // source is null.
  static TGraphicTool* AssignTool(TGraphicTool* target, const TGraphicTool* source);
  void AssignTool(const TGraphicTool& source);

  TToolKind Kind() const { return kind_; }

  // The GDI object, made when missing or when the system colour it was made with has changed.
  // Owned by the tool: valid until the next change or the end of the tool.
  HGDIOBJ ToolHandle();
  bool HasHandle() const { return static_cast<bool>(handle_); }

  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Setters of another kind's data do nothing.
  std::int32_t FontHeight() const { return font_.lfHeight; }
  void SetFontHeight(std::int32_t height);
  std::int32_t FontWeight() const { return font_.lfWeight; }
  void SetFontWeight(std::int32_t weight);
  std::uint8_t FontStyle() const;
  void SetFontStyle(std::uint8_t style);
  std::string FontName() const;            // Windows-1251
  void SetFontName(std::string_view name); // Windows-1251; at most 31 characters are kept
  std::uint8_t FontCharset() const { return font_.lfCharSet; }
  void SetFontCharset(std::uint8_t charset);
  const LOGFONTW& FontData() const { return font_; }

  std::uint8_t BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(std::uint8_t style);
  TColor HatchColor() const { return hatchColor_; }
  void SetHatchColor(TColor color);
  HBITMAP BrushBitmap() const { return brushBitmap_; }
  void SetBrushBitmap(HBITMAP bitmap);  // borrowed: the caller keeps it alive while in use

  std::uint8_t PenStyle() const { return penStyle_; }
  void SetPenStyle(std::uint8_t style);
  std::int32_t PenWidth() const { return penWidth_; }
  void SetPenWidth(std::int32_t width);
  std::uint8_t PenMode() const { return penMode_; }  // raster operation minus one
  void SetPenMode(std::uint8_t mode);

  // Told with the tool as sender when it changes: once before the old handle is deleted (so a
  // canvas can take it out of its DC) and once after.
  TMethod<TGraphicTool*> OnToolChange;

protected:
  ~TGraphicTool() override = default;

private:
  explicit TGraphicTool(TToolKind kind);

  void Changed();
  HGDIOBJ MakeHandle(COLORREF resolved) const;
  template <class T>
  void Store(TToolKind kind, T& field, T value);

  TToolKind kind_;
  TColor color_ = 0;
  COLORREF madeColor_ = 0;  // the RGB value the current handle was made with
  TGdiObject<HGDIOBJ> handle_;

  LOGFONTW font_{};
  HBITMAP brushBitmap_ = nullptr;
  std::uint8_t brushStyle_ = bsSolid;
  TColor hatchColor_ = 0;
  std::uint8_t penStyle_ = PS_SOLID;
  std::int32_t penWidth_ = 0;
  std::uint8_t penMode_ = R2_COPYPEN - 1;
};
