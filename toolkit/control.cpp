#include <windows.h>

#include <algorithm>
#include <string>

#include "control.h"
#include "control_hooks.h"
#include "text_codec.h"

namespace {

constexpr std::uint32_t VisibleBit = WS_VISIBLE;
constexpr std::uint32_t DisabledBit = WS_DISABLED;
constexpr std::uint32_t BorderBit = WS_BORDER;
constexpr std::uint32_t ClientEdgeBit = WS_EX_CLIENTEDGE;

const HICON NoIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(-1));

// No other object may keep pointing at a control once it is gone.
void ForgetControl(TControl* control) {
  for (TControl* p = control->Parent; p; p = p->Parent) {
    if (p->LastFocused == control) p->LastFocused = nullptr;
    if (p->DefaultButton == control) p->DefaultButton = nullptr;
  }
  if (AppControl == control) AppControl = nullptr;
  if (AppControl && AppControl->CurrentForm == control) AppControl->CurrentForm = nullptr;
  if (CreatingControl == control) CreatingControl = nullptr;
}

// A child that outlives its parent (held by its own running message) is cut off from the forms
// above: they forget it, and everything inside it, now, since they will not hear of its end.
void ForgetSubtree(TControl* root, TControl* ancestor) {
  auto inside = [root](const TControl* control) {
    for (; control; control = control->Parent)
      if (control == root) return true;
    return false;
  };
  for (TControl* p = ancestor; p; p = p->Parent) {
    if (inside(p->LastFocused)) p->LastFocused = nullptr;
    if (inside(p->DefaultButton)) p->DefaultButton = nullptr;
  }
  if (AppControl && inside(AppControl->CurrentForm)) AppControl->CurrentForm = nullptr;
}

}  // namespace

TControl::TControl() { SetDefaults(); }

// The defaults are the member initialisers; a kind that needs others changes them here.
void TControl::SetDefaults() {}

TControl::~TControl() {
  // OnDestroy and the free notifiers have run; the window's last messages reach no handler.
  Destroying = true;
  ForgetControl(this);
  if (Handle) DestroyWindow(Handle);
  if (Handle) {
    // DestroyWindow refused (a window of another thread): at least unbind it from us.
    RemovePropW(Handle, SelfProp);
    Handle = nullptr;
  }
  while (!Children.empty()) {
    TControl* child = Children.back();
    const std::size_t before = Children.size();
    child->Free();
    // A child held by its own running message stays alive for now and no longer knows us.
    if (Children.size() == before && Children.back() == child) {
      Children.pop_back();
      ForgetSubtree(child, this);
      child->Parent = nullptr;
    }
  }
  if (Parent) {
    auto& siblings = Parent->Children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  CanvasObject.reset();
  if (OwnedIcon) DestroyIcon(OwnedIcon);
}

void TControl::SetParent(TControl* parent) {
  if (parent == Parent) return;
  if (Parent) {
    auto& siblings = Parent->Children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  Parent = parent;
  if (parent) {
    parent->Children.push_back(this);
    SetColor(parent->Color);
  }
}

HWND TControl::EnsureWindow() {
  if (!Handle) {
    // Making the parent's window makes ours too, with the rest of its children.
    if (Parent) Parent->EnsureWindow();
    if (!Handle) CreateWindowHandle();
  }
  return Handle;
}

TControl* TControl::ParentForm() {
  TControl* control = this;
  while (control && control->IsChild) control = control->Parent;
  return control;
}

bool TControl::IsMainWindow() const {
  if (!AppControl) return !IsChild && this != AppControl;
  return Parent == AppControl && !AppControl->Children.empty() &&
         AppControl->Children.front() == this;
}

LRESULT TControl::DefaultHandler(TMessage& msg) {
  // A handler may have destroyed the window; the standard procedures expect a live one.
  if (!IsWindow(msg.Window)) return 0;
  if (StdWindowProc)
    return CallWindowProcW(StdWindowProc, msg.Window, msg.Msg, msg.wParam, msg.lParam);
  return DefWindowProcW(msg.Window, msg.Msg, msg.wParam, msg.lParam);
}

AnsiString TControl::GetCaption() const {
  if (!Handle) return Caption;
  const LRESULT length = SendMessageW(Handle, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(Handle, WM_GETTEXT, text.size(),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return FromWide(text);
}

// Stored even when the window shows it already: a window made again later takes Caption.
void TControl::SetCaption(const AnsiString& text) {
  Caption = text;
  if (Handle) {
    if (text == GetCaption()) return;
    SetWindowTextW(Handle, ToWide(text).c_str());
    Invalidate();
  }
  if (AutoSize) FitToCaption();
}

void TControl::SetColor(std::uint32_t color) {
  if (color == Color) return;
  Color = color;
  if (Handle && NotifyCodes.SetColorMsg)
    SendMessageW(Handle, NotifyCodes.SetColorMsg, 0, static_cast<LPARAM>(ResolveColor(color)));
  if (BrushTool) BrushTool->SetColor(color);
  Invalidate();
}

void TControl::SetFontColor(std::uint32_t color) {
  if (color == FontColor) return;
  FontColor = color;
  if (FontTool) FontTool->SetColor(color);
  Invalidate();
}

TGraphicTool* TControl::Font() {
  if (!FontTool) {
    FontTool.reset(TGraphicTool::CreateFontTool());
    FontTool->SetColor(FontColor);
    FontTool->OnToolChange = MakeMethod<&TControl::ToolChanged, TGraphicTool*>(this);
    SendFont();
  }
  return FontTool.get();
}

TGraphicTool* TControl::Brush() {
  if (!BrushTool) {
    BrushTool.reset(TGraphicTool::CreateBrushTool());
    BrushTool->SetColor(Color);
    BrushTool->OnToolChange = MakeMethod<&TControl::ToolChanged, TGraphicTool*>(this);
  }
  return BrushTool.get();
}

TCanvas* TControl::Canvas() {
  if (!CanvasObject) CanvasObject.reset(TCanvas::CreateCanvas(nullptr, this));
  return CanvasObject.get();
}

// A tool changed through Font() or Brush() directly: the control's colours follow it.
void TControl::ToolChanged(TGraphicTool* tool) {
  if (tool == FontTool.get()) {
    FontColor = tool->Color();
    SendFont();
  } else if (tool == BrushTool.get()) {
    Color = tool->Color();
  }
  Invalidate();
}

// Told before the old font handle is deleted, so the window never draws with a dead font.
void TControl::SendFont() {
  if (!Handle || !FontTool) return;
  const auto font = static_cast<HFONT>(FontTool->ToolHandle());
  if (!font || font == SentFont) return;
  SentFont = font;
  SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TControl::SetPosition(int left, int top) {
  PositionSet = true;
  if (left == BoundsRect.left && top == BoundsRect.top) return;
  OffsetRect(&BoundsRect, left - BoundsRect.left, top - BoundsRect.top);
  if (Handle)
    SetWindowPos(Handle, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetSize(int width, int height) {
  RECT next = BoundsRect;
  if (width > 0) next.right = next.left + width;
  if (height > 0) next.bottom = next.top + height;
  if (EqualRect(&next, &BoundsRect)) return;
  BoundsRect = next;
  if (Handle)
    SetWindowPos(Handle, nullptr, 0, 0, Width(), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::ApplyBounds(UINT flags) {
  if (!Handle || IsIconic(Handle)) return;
  RECT r;
  GetWindowRect(Handle, &r);
  if (GetWindowLongW(Handle, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(Handle), reinterpret_cast<POINT*>(&r), 2);
  if (!(flags & SWP_NOMOVE)) OffsetRect(&BoundsRect, r.left - BoundsRect.left,
                                        r.top - BoundsRect.top);
  if (!(flags & SWP_NOSIZE)) {
    BoundsRect.right = BoundsRect.left + (r.right - r.left);
    BoundsRect.bottom = BoundsRect.top + (r.bottom - r.top);
  }
}

RECT TControl::ClientRect() {
  RECT r = BoundsRect;
  if (Handle) GetClientRect(Handle, &r);
  return r;
}

int TControl::ClientWidth() {
  const RECT r = ClientRect();
  return r.right - r.left;
}

int TControl::ClientHeight() {
  const RECT r = ClientRect();
  return r.bottom - r.top;
}

void TControl::SetClientSize(int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
  SetSize(r.right - r.left, r.bottom - r.top);
}

void TControl::SetStyle(std::uint32_t style) {
  if (style == Style) return;
  Style = style;
  if (!Handle) return;
  // Showing and hiding go through ShowWindow only; a stale visible bit must not flip it.
  const auto live = static_cast<std::uint32_t>(GetWindowLongW(Handle, GWL_STYLE));
  const std::uint32_t next = (style & ~VisibleBit) | (live & VisibleBit);
  SetWindowLongW(Handle, GWL_STYLE, static_cast<LONG>(next));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SetExStyle(std::uint32_t exStyle) {
  if (exStyle == ExStyle) return;
  ExStyle = exStyle;
  if (!Handle) return;
  SetWindowLongW(Handle, GWL_EXSTYLE, static_cast<LONG>(exStyle));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

// Applied even when the flag is unchanged: the kind's own frame may not match it yet.
void TControl::SetThreeDLook(bool on) {
  ThreeDLook = on;
  if (on) {
    SetExStyle(ExStyle | ClientEdgeBit);
    SetStyle(Style & ~BorderBit);
  } else {
    SetExStyle(ExStyle & ~ClientEdgeBit);
    SetStyle(Style | BorderBit);
  }
}

void TControl::SetEnabled(bool on) {
  Enabled = on;
  Style = on ? Style & ~DisabledBit : Style | DisabledBit;
  if (Handle) EnableWindow(Handle, on);
}

// Never skipped when unchanged: the window may have been hidden by SetWindowPos, which leaves
// Visible alone.
void TControl::SetVisible(bool on) {
  VisibleSetExplicitly = true;
  Visible = on;
  Style = on ? Style | VisibleBit : Style & ~VisibleBit;
  if (!Handle) return;
  ShowWindow(Handle, on ? SW_SHOW : SW_HIDE);
  AlignChildren(Parent);
  if (on) AlignChildren(this);
}

void TControl::SetCursor(HCURSOR cursor) { Cursor = cursor; }

void TControl::SetIcon(HICON icon) {
  if (icon == Icon) return;
  Icon = icon;
  if (Handle && !IsChild) ApplyIcon();
}

void TControl::ApplyIcon() {
  HICON icon = Icon;
  if (icon == NoIcon) {
    icon = nullptr;
  } else if (!icon && IsApplication()) {
    Icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    icon = Icon;
  } else if (!icon && AppControl && AppControl->Icon && AppControl->Icon != NoIcon) {
    if (!OwnedIcon) OwnedIcon = CopyIcon(AppControl->Icon);
    icon = OwnedIcon;
  }
  if (icon || Icon == NoIcon)
    SendMessageW(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TControl::Invalidate() {
  if (AppTerminated || !Handle) return;
  InvalidateRect(Handle, nullptr, TRUE);
  if (InvalidateHook) InvalidateHook(this);
}

void TControl::AddMessageHook(THookProc proc, bool runAfterTermination) {
  if (!proc) return;
  for (const TMessageHook& hook : MessageHooks)
    if (hook.Proc == proc) return;
  MessageHooks.push_back({proc, runAfterTermination});
}

void TControl::SetDefaultButton(bool on) {
  TControl* form = ParentForm();
  if (!form || form == this) return;
  TControl* previous = form->DefaultButton;
  if (on) {
    if (previous && previous != this) previous->SetDefaultButton(false);
    form->DefaultButton = this;
  } else if (previous == this) {
    form->DefaultButton = nullptr;
  }
  const std::uint32_t kind = on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (StdClassName == "BUTTON") SetStyle((Style & ~static_cast<std::uint32_t>(BS_TYPEMASK)) | kind);
}
