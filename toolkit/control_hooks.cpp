#include <windows.h>

#include <utility>

#include "control.h"
#include "control_hooks.h"

namespace {

constexpr std::uint32_t AltFlag = 0x20;

TShiftState ReadShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 4;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 8;
  if (GetKeyState(VK_MENU) < 0) shift |= 0x20;
  return shift;
}

bool IsReflectedColor(UINT msg) {
  return msg >= CM_CTLCOLOR_BASE + WM_CTLCOLORMSGBOX && msg <= CM_CTLCOLOR_BASE + WM_CTLCOLORSTATIC;
}

// The control's pending region joins the window's update region and is invalidated again, so
// that this paint or the next covers it; a union of several rectangles becomes the client area.
void MergePendingInvalidRegion(TControl* self, HWND window) {
  const TGdiObject<HRGN> pending = std::move(self->PendingInvalidRegion);
  if (!pending) return;
  int merged = SIMPLEREGION;
  TGdiObject<HRGN> update(CreateRectRgn(0, 0, 0, 0));
  const int kind = update ? GetUpdateRgn(window, update.Get(), FALSE) : ERROR;
  if (kind != NULLREGION && kind != ERROR)
    merged = CombineRgn(pending.Get(), pending.Get(), update.Get(), RGN_OR);
  if (merged == COMPLEXREGION) {
    InvalidateRect(window, nullptr, TRUE);
  } else {
    InvalidateRgn(window, pending.Get(), TRUE);
  }
}

// The pending clip is in the control's client coordinates: it follows the origin a parent set to
// print the control into its own picture, and it narrows the DC's clip (the parent's area for
// this child) without ever widening it. The DC leaves as it came.
void Paint(TControl* self, HDC dc) {
  if (!dc) return;
  const TGdiObject<HRGN> clip = std::move(self->PendingClipRegion);
  const int saved = clip ? SaveDC(dc) : 0;
  if (saved) {
    POINT origin{0, 0};
    LPtoDP(dc, &origin, 1);
    OffsetRgn(clip.Get(), origin.x, origin.y);
    ExtSelectClipRgn(dc, clip.Get(), RGN_AND);
  }
  self->OnPaint(self, dc);
  if (self->HasCanvas()) self->Canvas()->SetDC(nullptr);
  if (saved) RestoreDC(dc, saved);
}

}  // namespace

bool StdControlHook(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Msg == WM_SETFOCUS) {
    TControl* form = self->ParentForm();
    if (form && form != self) form->LastFocused = self;
    return false;
  }
  if (msg.Msg == CM_COMMAND) {
    const int code = HIWORD(msg.wParam);
    const TNotifyCodes& codes = self->NotifyCodes;
    if (code == codes.Click) {
      // A button that notifies a click while it only takes the focus has not been clicked.
      if (!self->FocusingCount) self->OnClick(self);
    } else if (code == codes.Change) {
      self->OnChange(self);
    } else if (code != codes.SetFocus && code != codes.KillFocus) {
      return false;
    }
    result = self->DefaultHandler(msg);
    return true;
  }
  if (IsReflectedColor(msg.Msg)) {
    const auto dc = reinterpret_cast<HDC>(msg.wParam);
    SetTextColor(dc, ResolveColor(self->FontColor));
    if (self->Transparent) {
      SetBkMode(dc, TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    } else {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, ResolveColor(self->Color));
      result = reinterpret_cast<LRESULT>(self->Brush()->ToolHandle());
    }
    return true;
  }
  return false;
}

bool FormHook(TControl* self, TMessage& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_SETFOCUS: {
      if (AppControl && AppControl != self) AppControl->CurrentForm = self;
      TControl* last = self->LastFocused;
      if (!last || !last->EnsureWindow()) return false;
      SetFocus(last->Handle);
      result = 0;
      return true;
    }
    case WM_ENDSESSION: {
      if (!msg.wParam) return false;
      AppTerminated = true;
      AppRunning = false;
      TControl* app = AppControl;
      AppControl = nullptr;
      TObj::Free(app);
      HaltProcess(0);
      result = 0;
      return true;
    }
    case WM_ERASEBKGND: {
      if (self->Transparent) return false;
      const auto dc = reinterpret_cast<HDC>(msg.wParam);
      RECT client;
      GetClientRect(self->Handle, &client);
      SetBkMode(dc, OPAQUE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      FillRect(dc, &client, static_cast<HBRUSH>(self->Brush()->ToolHandle()));
      result = 1;
      return true;
    }
    default:
      return false;
  }
}

bool AppHook(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Msg == WM_SETFOCUS) {
    TControl* form = self->CurrentForm;
    if (!form || !form->EnsureWindow()) return false;
    SetFocus(form->Handle);
    result = 0;
    return true;
  }
  if (msg.Msg == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE) {
    TControl* first = self->Children.empty() ? nullptr : self->Children.front();
    if (!first || !first->Handle || !first->IsMainWindow()) return false;
    PostMessageW(first->Handle, WM_CLOSE, 0, 0);
    result = 0;
    return true;
  }
  return false;
}

void TrimSystemMenu(void*, TObj* sender) {
  auto* self = static_cast<TControl*>(sender);
  HMENU menu = GetSystemMenu(self->Handle, FALSE);
  if (!menu) return;
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
}

bool PaintHook(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Msg != WM_PAINT && msg.Msg != WM_PRINTCLIENT) return false;
  // WM_PAINT may come with a DC (buffered painting); BeginPaint belongs to a plain one only.
  const auto given = reinterpret_cast<HDC>(msg.wParam);
  if (!given && msg.Msg != WM_PAINT) return false;
  MergePendingInvalidRegion(self, msg.Window);
  if (given) {
    Paint(self, given);
  } else {
    TPaintScope scope(msg.Window);
    Paint(self, scope.Get());
  }
  result = 0;
  return true;
}

bool ResizeHook(TControl* self, TMessage& msg, LRESULT&) {
  if (msg.Msg == WM_SIZE) self->OnResize(self);
  return false;
}

bool MouseHook(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Window != self->Handle || msg.Msg < WM_MOUSEFIRST || msg.Msg > WM_MOUSEWHEEL)
    return false;
  TMouseRecord mouse;
  mouse.Flags = static_cast<std::uint32_t>(msg.wParam);
  if (GetKeyState(VK_MENU) < 0) mouse.Flags |= AltFlag;
  mouse.X = static_cast<std::int16_t>(LOWORD(msg.lParam));
  mouse.Y = static_cast<std::int16_t>(HIWORD(msg.lParam));
  TOnMouse handler;
  switch (msg.Msg) {
    case WM_MOUSEMOVE: handler = self->OnMouseMove; break;
    case WM_MOUSEWHEEL: handler = self->OnMouseWheel; break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      handler = self->OnMouseDown;
      break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      handler = self->OnMouseUp;
      break;
    default:
      handler = self->OnMouseDblClick;
      break;
  }
  if (msg.Msg != WM_MOUSEMOVE && msg.Msg != WM_MOUSEWHEEL)
    mouse.Button = static_cast<std::uint8_t>((msg.Msg - WM_LBUTTONDOWN) / 3 + 1);
  handler(self, mouse);
  result = 0;
  return mouse.StopHandling;
}

bool KeyHandlerHook(TControl* self, TMessage& msg, LRESULT& result) {
  TOnKey handler;
  switch (msg.Msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: handler = self->OnKeyDown; break;
    case WM_KEYUP: case WM_SYSKEYUP: handler = self->OnKeyUp; break;
    case WM_CHAR: case WM_SYSCHAR: handler = self->OnChar; break;
    default:
      return false;
  }
  if (!handler) return false;
  WPARAM key = msg.wParam;
  handler(self, key, ReadShiftState());
  // A handler may change the key or character: default processing gets the new one.
  msg.wParam = key;
  if (key != 0) return false;
  result = 0;
  return true;
}

bool ShowHook(TControl* self, TMessage& msg, LRESULT&) {
  if (msg.Msg != WM_SHOWWINDOW || msg.Window != self->Handle) return false;
  // WM_SHOWWINDOW comes before the visible bit changes: the bit is the state before.
  const bool wasVisible = (GetWindowLongW(msg.Window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (msg.wParam) {
    self->Visible = true;
    if (!wasVisible) self->OnShow(self);
  } else {
    self->Visible = false;
    if (wasVisible) self->OnHide(self);
  }
  return false;
}

void TControl::SetOnPaint(TOnPaint handler) {
  OnPaint = handler;
  AddMessageHook(PaintHook);
}

void TControl::SetOnResize(TNotifyEvent handler) {
  OnResize = handler;
  AddMessageHook(ResizeHook);
}

void TControl::SetOnMouseDown(TOnMouse handler) {
  OnMouseDown = handler;
  AddMessageHook(MouseHook);
}

void TControl::SetOnMouseMove(TOnMouse handler) {
  OnMouseMove = handler;
  AddMessageHook(MouseHook);
}

void TControl::SetOnMouseUp(TOnMouse handler) {
  OnMouseUp = handler;
  AddMessageHook(MouseHook);
}

void TControl::SetOnMouseWheel(TOnMouse handler) {
  OnMouseWheel = handler;
  AddMessageHook(MouseHook);
}

void TControl::SetOnMouseDblClick(TOnMouse handler) {
  OnMouseDblClick = handler;
  AddMessageHook(MouseHook);
}

void TControl::SetOnKeyDown(TOnKey handler) {
  OnKeyDown = handler;
  ControlKeyHook = KeyHandlerHook;
}

void TControl::SetOnKeyUp(TOnKey handler) {
  OnKeyUp = handler;
  ControlKeyHook = KeyHandlerHook;
}

void TControl::SetOnChar(TOnKey handler) {
  OnChar = handler;
  ControlKeyHook = KeyHandlerHook;
}

void TControl::SetOnShow(TNotifyEvent handler) {
  OnShow = handler;
  AddMessageHook(ShowHook);
}

void TControl::SetOnHide(TNotifyEvent handler) {
  OnHide = handler;
  AddMessageHook(ShowHook);
}
