#include <windows.h>

#include <unordered_map>
#include <utility>

#include "control.h"
#include "graphic_tool.h"

namespace {

constexpr int ShrinkSlack = 32;  // a held bitmap is kept until it is this much too large
constexpr const wchar_t* PrevProcProp = L"PREV_PROC";

struct TBuffer {
  TGdiObject<HBITMAP> Bitmap;
  int Width = 0;
  int Height = 0;
};

// One held bitmap per buffered control; the entry goes when the control is freed.
std::unordered_map<TControl*, TBuffer> Buffers;

// The memory DC being painted: an erase sent with it is the buffer's own, not the window's.
HDC PaintingDC = nullptr;

void DropBuffer(void*, TObj* sender) { Buffers.erase(static_cast<TControl*>(sender)); }

TBuffer& BufferOf(TControl* control) {
  auto found = Buffers.find(control);
  if (found != Buffers.end()) return found->second;
  control->AddFreeNotifier({DropBuffer, nullptr});
  return Buffers[control];
}

HBITMAP HeldBitmap(TControl* control, HDC windowDC, int width, int height) {
  TBuffer& buffer = BufferOf(control);
  const bool tooSmall = width > buffer.Width || height > buffer.Height;
  const bool tooLarge =
      buffer.Width - width > ShrinkSlack || buffer.Height - height > ShrinkSlack;
  if (!buffer.Bitmap || tooSmall || tooLarge) {
    buffer.Bitmap.Reset(CreateCompatibleBitmap(windowDC, width, height));
    buffer.Width = buffer.Bitmap ? width : 0;
    buffer.Height = buffer.Bitmap ? height : 0;
  }
  return buffer.Bitmap.Get();
}

// Child windows, lowest in z-order first, drawn at their places into the buffer.
void PaintChildren(HWND parent, HDC dc, const RECT& update) {
  for (HWND child = GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST); child;
       child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RECT common;
    if (!IntersectRect(&common, &r, &update)) continue;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, common.left, common.top, common.right, common.bottom);
    SetViewportOrgEx(dc, r.left, r.top, nullptr);
    SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    RestoreDC(dc, saved);
  }
}

// A caret is drawn by inverting the screen: were the picture copied over it while it is on,
// hiding it later would draw it instead. BeginPaint hides only the window's own caret, not one
// in a child that the picture covers too.
class TCaretHidden {
public:
  explicit TCaretHidden(HWND painted) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !info.hwndCaret) return;
    if (info.hwndCaret != painted && !IsChild(painted, info.hwndCaret)) return;
    if (HideCaret(info.hwndCaret)) caretWindow_ = info.hwndCaret;
  }
  TCaretHidden(const TCaretHidden&) = delete;
  TCaretHidden& operator=(const TCaretHidden&) = delete;
  // A caret that moved to another window meanwhile is not ours to show.
  ~TCaretHidden() {
    if (caretWindow_) ShowCaret(caretWindow_);
  }

private:
  HWND caretWindow_ = nullptr;
};

// The control erases and paints itself into the memory DC, its children are drawn over that,
// and the whole picture, children included, goes to the window in one BitBlt: nothing on the
// screen is ever seen half painted. BeginPaint validates only the area it hands out, so what
// is invalidated during the paint (the pending region the paint hook puts back, say) is left
// for the next one; a frame that is due is drawn on the way, and the erase it asks for is
// answered below without touching the screen.
void PaintBuffered(TControl* control) {
  HWND window = control->Handle;
  TCaretHidden caret(window);
  TPaintScope paint(window);
  if (!paint.Get()) return;
  RECT client;
  GetClientRect(window, &client);
  RECT update;
  if (!IntersectRect(&update, &paint.Area(), &client)) return;
  TWindowDC screen(window, DCX_CACHE | DCX_CLIPSIBLINGS);
  HBITMAP bitmap = HeldBitmap(control, screen.Get(), client.right, client.bottom);
  TMemoryDC memory(screen.Get());
  if (!bitmap || !memory.Get()) return;
  TSelectGuard select(memory.Get(), bitmap);
  IntersectClipRect(memory.Get(), update.left, update.top, update.right, update.bottom);
  HDC outer = std::exchange(PaintingDC, memory.Get());
  const WPARAM mem = reinterpret_cast<WPARAM>(memory.Get());
  SendMessageW(window, WM_ERASEBKGND, mem, 0);
  SendMessageW(window, WM_PAINT, mem, 0);
  PaintChildren(window, memory.Get(), update);
  PaintingDC = outer;
  BitBlt(screen.Get(), update.left, update.top, update.right - update.left,
         update.bottom - update.top, memory.Get(), update.left, update.top, SRCCOPY);
}

bool ParentBuffered(HWND window) {
  const TControl* parent = ControlOfWindow(GetParent(window));
  return parent && parent->DoubleBuffered;
}

bool BufferedFirstHook(TControl* self, TMessage& msg, LRESULT& result) {
  if (!self->DoubleBuffered) return false;
  // A WM_PAINT that carries a DC is the buffer's own request; only the plain one is taken.
  if (msg.Msg == WM_PAINT && msg.wParam == 0) {
    PaintBuffered(self);
    result = 0;
    return true;
  }
  // The background is erased into the buffer; erasing the window as well would flicker.
  if (msg.Msg == WM_ERASEBKGND && reinterpret_cast<HDC>(msg.wParam) != PaintingDC) {
    result = 1;
    return true;
  }
  return false;
}

void BufferedInvalidateHook(TControl* self) {
  if (!self->Handle) return;
  for (TControl* p = self->Parent; p; p = p->Parent) {
    if (!p->DoubleBuffered || !p->Handle) continue;
    RECT r;
    GetWindowRect(self->Handle, &r);
    MapWindowPoints(nullptr, p->Handle, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(p->Handle, &r, TRUE);
    return;
  }
}

// A foreign child's background and frame are the buffered parent's to draw, in its picture.
void RepaintParentUnder(HWND child) {
  const HWND parent = GetParent(child);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  InvalidateRect(parent, &r, FALSE);
}

LRESULT CALLBACK ForeignChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, PrevProcProp));
  if (!previous) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(window, PrevProcProp);
  } else if (msg == WM_ERASEBKGND && ParentBuffered(window) &&
             reinterpret_cast<HDC>(wParam) != PaintingDC) {
    RepaintParentUnder(window);
    return 1;
  } else if (msg == WM_NCPAINT && ParentBuffered(window) && !PaintingDC) {
    RepaintParentUnder(window);
    return 0;
  }
  return CallWindowProcW(previous, window, msg, wParam, lParam);
}

BOOL CALLBACK SubclassForeign(HWND window, LPARAM) {
  if (ControlOfWindow(window) || GetPropW(window, PrevProcProp)) return TRUE;
  const LONG_PTR previous = GetWindowLongPtrW(window, GWLP_WNDPROC);
  if (previous && SetPropW(window, PrevProcProp, reinterpret_cast<HANDLE>(previous)))
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignChildProc));
  return TRUE;
}

void BufferedAfterCreationHook(TControl* self) {
  if (self->Handle) EnumChildWindows(self->Handle, SubclassForeign, 0);
}

}  // namespace

void TControl::SetTransparent(bool on) {
  if (on == Transparent) return;
  Transparent = on;
  if (on && Parent) Parent->SetDoubleBuffered(true);
  Invalidate();
}

void TControl::SetDoubleBuffered(bool on) {
  if (on == DoubleBuffered) return;
  DoubleBuffered = on;
  if (on) {
    FirstMessageHook = BufferedFirstHook;
    InvalidateHook = BufferedInvalidateHook;
    AfterCreationHook = BufferedAfterCreationHook;
    BufferOf(this);
  } else if (auto found = Buffers.find(this); found != Buffers.end()) {
    found->second = TBuffer();
  }
  Invalidate();
}
