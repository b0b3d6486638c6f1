#include <windows.h>

#include "control.h"
#include "control_hooks.h"

TControl* CreatingControl = nullptr;

namespace {

constexpr UINT KeyRowLast = 0x108;  // WM_KEYLAST of the older headers: WM_UNICHAR stays out
constexpr int ShowMinNoActive = SW_SHOWMINNOACTIVE;  // 7
constexpr int ShowMaximized = SW_SHOWMAXIMIZED;      // 3
constexpr int ShowNoActivate = SW_SHOWNOACTIVATE;    // 4

// Keeps a control alive while one of its messages runs: a Free from inside only marks it, and
// the object goes when the outermost message returns.
class THold {
public:
  explicit THold(TObj* object) : object_(object) { object_->AddRef(); }
  THold(const THold&) = delete;
  THold& operator=(const THold&) = delete;
  ~THold() { object_->ReleaseRef(); }

private:
  TObj* object_;
};

bool IsDefaultButtonKey(TControl* control, TControl* form, const TMessage& msg) {
  if (msg.wParam != VK_RETURN || (msg.Msg != WM_KEYDOWN && msg.Msg != WM_CHAR)) return false;
  TControl* button = form ? form->DefaultButton : nullptr;
  if (!button || !button->Handle || !IsWindowEnabled(button->Handle)) return false;
  // A multi-line edit that wants Enter keeps it.
  const auto style = static_cast<std::uint32_t>(GetWindowLongW(control->Handle, GWL_STYLE));
  return !(control->StdClassName == "EDIT" && (style & ES_MULTILINE) && (style & ES_WANTRETURN));
}

}  // namespace

TControl* ControlOfWindow(HWND window) {
  return window ? static_cast<TControl*>(GetPropW(window, SelfProp)) : nullptr;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* self = ControlOfWindow(window);
  if (!self && CreatingControl) {
    self = CreatingControl;
    CreatingControl = nullptr;
    self->Handle = window;
    SetPropW(window, SelfProp, self);
  }
  if (!self) self = AppControl;
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage message{window, msg, wParam, lParam};
  return self->WindowProc(message);
}

LRESULT TControl::WindowProc(TMessage& msg) {
  THold hold(this);
  LRESULT result = 0;
  if (!Destroying) {
    if (FirstMessageHook && FirstMessageHook(this, msg, result)) return result;
    if (AppRunning && AppControl && AppControl != this && AppControl->OnMessage &&
        AppControl->OnMessage(msg, result))
      return result;
    if (OnMessage && OnMessage(msg, result)) return result;
    // Newest first, by index: a hook may add hooks while it runs.
    for (std::size_t i = MessageHooks.size(); i-- > 0;) {
      if (i >= MessageHooks.size()) continue;
      const TMessageHook hook = MessageHooks[i];
      if (AppTerminated && !hook.RunAfterTermination) continue;
      if (hook.Proc(this, msg, result)) return result;
    }
    if (InheritedHook && InheritedHook(this, msg, result)) return result;
  }
  // A window without its own object, handed to the application control: nothing of ours applies.
  if (msg.Window != Handle) return DefWindowProcW(msg.Window, msg.Msg, msg.wParam, msg.lParam);
  return BuiltInHandling(msg);
}

LRESULT TControl::BuiltInHandling(TMessage& msg) {
  switch (msg.Msg) {
    case WM_SIZE: {
      const LRESULT result = DefaultHandler(msg);
      if (msg.wParam <= SIZE_MAXIMIZED) WindowState = static_cast<std::uint8_t>(msg.wParam);
      if (StdClassName != "Form") AlignChildren(Parent);
      AlignChildren(this);
      return result;
    }
    case WM_WINDOWPOSCHANGED:
      ApplyBounds(reinterpret_cast<const WINDOWPOS*>(msg.lParam)->flags);
      return DefaultHandler(msg);
    case WM_SETFOCUS: {
      if (!Enabled) return 0;
      ++FocusingCount;
      const LRESULT result = DefaultHandler(msg);
      --FocusingCount;
      return result;
    }
    case WM_CLOSE:
      return HandleClose(msg);
    case WM_SHOWWINDOW:
      if (msg.lParam == SW_PARENTCLOSING) {
        RestoreShowCmd = IsIconic(Handle)   ? ShowMinNoActive
                         : IsZoomed(Handle) ? ShowMaximized
                                            : ShowNoActivate;
      } else if (msg.lParam == SW_PARENTOPENING && RestoreShowCmd) {
        ShowWindow(Handle, RestoreShowCmd);
        return 0;
      }
      return DefaultHandler(msg);
    case WM_SETCURSOR:
      if (!GetCapture() && LOWORD(msg.lParam) == HTCLIENT) {
        // Without a cursor of our own the class cursor stays: SetCursor(0) would hide it.
        if (HCURSOR cursor = OverrideCursor ? OverrideCursor : Cursor) {
          ::SetCursor(cursor);
          return 1;
        }
      }
      return DefaultHandler(msg);
    case WM_NCDESTROY: {
      const LRESULT result = DefaultHandler(msg);
      WindowGone();
      return result;
    }
    case WM_COMMAND: {
      const auto child = reinterpret_cast<HWND>(msg.lParam);
      if (ControlOfWindow(child)) return SendMessageW(child, CM_COMMAND, msg.wParam, msg.lParam);
      return DefaultHandler(msg);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      const auto child = reinterpret_cast<HWND>(msg.lParam);
      // A null brush would leave the child's background unpainted: the default answers then.
      if (ControlOfWindow(child)) {
        if (LRESULT brush = SendMessageW(child, msg.Msg + CM_CTLCOLOR_BASE, msg.wParam,
                                         msg.lParam))
          return brush;
      }
      return DefaultHandler(msg);
    }
    case WM_SYSCOMMAND:
      if ((msg.wParam & 0xFFF0) == SC_MINIMIZE && AppControl && AppControl != this &&
          AppControl->Handle && IsMainWindow()) {
        PostMessageW(AppControl->Handle, WM_SYSCOMMAND, msg.wParam, msg.lParam);
        return 0;
      }
      return DefaultHandler(msg);
    case CM_FREE:
      Free();
      return 0;
    default:
      if (msg.Msg >= WM_KEYFIRST && msg.Msg <= KeyRowLast) return KeyboardRow(msg);
      return DefaultHandler(msg);
  }
}

LRESULT TControl::KeyboardRow(TMessage& msg) {
  const HWND focus = GetFocus();
  if (!focus || (focus != Handle && !::IsChild(Handle, focus))) return 0;
  LRESULT result = 0;
  if (KeyHook && KeyHook(this, msg, result)) return result;
  if (ControlKeyHook && ControlKeyHook(this, msg, result)) return result;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return DefaultHandler(msg);
  if (msg.Msg == WM_CHAR && msg.wParam == VK_TAB) {
    // Only where Tab navigates: a control that wants Tab (edit option bit 10) gets it.
    if (NavigationKeys & 1) {
      msg.wParam = 0;
      return 0;
    }
    return DefaultHandler(msg);
  }
  TControl* form = ParentForm();
  if (IsDefaultButtonKey(this, form, msg)) {
    // As the dialog manager does: the parent hears the click, whatever the button's geometry
    // (BM_CLICK only clicks when its synthetic mouse point lies inside the button).
    if (msg.Msg == WM_KEYDOWN) {
      TControl* button = form->DefaultButton;
      SendMessageW(GetParent(button->Handle), WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button->Handle));
    }
    return 0;
  }
  if (form && form->NavigationProc && form->NavigationProc(this, msg, result)) return result;
  return DefaultHandler(msg);
}

LRESULT TControl::HandleClose(TMessage& msg) {
  bool accept = true;
  if (OnClose) {
    const TOnClose handler = OnClose;
    handler(this, accept);
    if (accept || !AppRunning) OnClose = {};
  }
  if (!accept) return 0;
  if (IsApplication() || IsMainWindow()) {
    if (AppControl && AppControl != this && AppControl->Handle)
      SendMessageW(AppControl->Handle, WM_CLOSE, 0, 0);
    PostQuitMessage(0);
    return 0;
  }
  return DefaultHandler(msg);
}

// WM_NCDESTROY: the window is gone for good. A message posted to it now would be discarded
// with it, so the main window and the application control's other children are freed through
// the hold instead: at once, or when their running message returns.
void TControl::WindowGone() {
  RemovePropW(Handle, SelfProp);
  Handle = nullptr;
  SentFont = nullptr;
  // A failed creation (no display, say) also ends in WM_NCDESTROY: the control lives on
  // without a window, as its owner expects.
  if (Destroying || Creating) return;
  OnWindowDestroyed(this);
  if (IsMainWindow() || (AppControl && Parent == AppControl)) Free();
}
