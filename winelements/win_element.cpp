#include "win_element.h"

#include <string>

#include "text_codec.h"

namespace {

constexpr std::uint32_t FlatBit = 0x8000;
constexpr UINT RaiseHidden = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW |
                             SWP_NOOWNERZORDER;  // 0x293
constexpr std::uint32_t EdgeExStyles[] = {0, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME,
                                          WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};

// 0, 1 or 2 when exactly that one button is held and nothing else, otherwise -1.
int HeldButton(std::uint32_t flags) {
  switch (flags) {
    case MK_LBUTTON: return 0;
    case MK_RBUTTON: return 1;
    case MK_MBUTTON: return 2;
    default: return -1;
  }
}

void Track(HWND window, DWORD flags) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = flags;
  track.hwndTrack = window;
  track.dwHoverTime = HOVER_DEFAULT;
  TrackMouseEvent(&track);
}

// Proposed size minus current goes out as an Integer; a linked source may answer another
// change. Unlinked (Break) or any other answer keeps the proposal.
void FilterOne(int& proposed, int current, const TNd_Event& input) {
  if (proposed == current) return;
  TData change;
  MakeInteger(change, proposed - current);
  FetchData(change, input);
  if (IsInteger(change)) proposed = current + change.IntValue;
}

}  // namespace

TNdWin::TNdWin(TControl* parentControl) : ParentControl(parentControl) {
  if (parentControl) Color = parentControl->Color;
}

TNdWin::~TNdWin() {
  // Control is null once the toolkit freed it. A control whose window alone went is still ours
  // to free; it only must not be shown or hidden any more.
  if (TControl* control = Control) {
    DetachFromControl();
    if (!ControlGone) control->SetVisible(false);
    Control = nullptr;
    control->Free();
  }
  if (HintId && HintManager) HintManager->DestroyHint(std::move(HintId));
}

void TNdWin::Init() {
  TControl* c = Control;
  if (!c) return;
  ControlAccessor = MakeFunc<&TNdWin::AccessControl, TControl*>(this);
  c->SetColor(Color);
  c->SetPosition(Left, Top);
  c->SetSize(Width, Height);
  if (FrameStyle == frSunken || FrameStyle == frSingle) c->SetThreeDLook(FrameStyle == frSunken);
  c->SetTransparent(Transparent);
  c->SetEnabled(Enabled);
  c->SetCursor(Cursor);
  if (Flat) c->SetStyle(c->Style | FlatBit);

  TGraphicTool* font = c->Font();
  if (ParentFont) {
    if (ParentControl) font->AssignTool(*ParentControl->Font());
  } else {
    font->SetColor(Font.Color);
    font->SetFontStyle(Font.Style & 0x0F);
    font->SetFontName(Font.Name);
    font->SetFontHeight(FontHeight(Font.Size));
    font->SetFontCharset(Font.CharSet);
  }

  if (TabOrder > 0) {
    c->SetTabStop(true);
    c->SetStyle(c->Style | WS_TABSTOP);
    c->NavigationKeys = 1;
    c->SetTabOrder(TabOrder);
  } else {
    c->SetTabStop(TabOrder == 0);
  }

  PrevMessageHandler = c->OnMessage;
  c->SetOnMouseDown(MakeMethod<&TNdWin::MouseDownHandler, TObj*, TMouseRecord&>(this));
  c->SetOnMouseMove(MakeMethod<&TNdWin::MouseMoveHandler, TObj*, TMouseRecord&>(this));
  c->SetOnMouseUp(MakeMethod<&TNdWin::MouseUpHandler, TObj*, TMouseRecord&>(this));
  c->SetOnMouseWheel(MakeMethod<&TNdWin::MouseWheelHandler, TObj*, TMouseRecord&>(this));
  c->SetOnMouseDblClick(MakeMethod<&TNdWin::DblClickHandler, TObj*, TMouseRecord&>(this));
  c->OnMessage = MakeFunc<&TNdWin::HandleMessage, bool, TMessage&, LRESULT&>(this);
  // Both roads of the toolkit's destruction: the window alone, or the object with it.
  c->OnWindowDestroyed = MakeMethod<&TNdWin::WindowDestroyedHandler, TObj*>(this);
  if (!watchingControl) {
    c->AddFreeNotifier({&TNdWin::ControlFreed, this});
    watchingControl = true;
  }
  c->SetOnKeyDown(MakeMethod<&TNdWin::KeyDownHandler, TObj*, WPARAM&, TShiftState>(this));
  c->SetOnKeyUp(MakeMethod<&TNdWin::KeyUpHandler, TObj*, WPARAM&, TShiftState>(this));
  c->SetOnChar(MakeMethod<&TNdWin::CharHandler, TObj*, WPARAM&, TShiftState>(this));
  c->SetOnResize(MakeMethod<&TNdWin::ResizeHandler, TObj*>(this));
  c->SetOnShow(MakeMethod<&TNdWin::ShowHandler, TObj*>(this));

  c->SetAlign(Align);
  // Makes the window when missing and lays it above the siblings initialised before it.
  SetWindowPos(c->EnsureWindow(), HWND_TOP, 0, 0, 0, 0, RaiseHidden);
  c->SetVisible(Visible);
  c->CreateWindowHandle();
  if (FrameStyle == frSunken && EdgeStyle >= 1 && EdgeStyle <= 4)
    c->SetExStyle(EdgeExStyles[EdgeStyle - 1]);
}

void TNdWin::RegisterHint(THintInterface* hints) {
  if (!hints) {
    if (Hint.empty() || !DefaultHintManager) return;
    hints = DefaultHintManager->HintInterface();
  }
  if (!Control || !hints) return;
  if (HintId && HintManager) HintManager->DestroyHint(std::move(HintId));
  HintId = hints->CreateHint(Control->EnsureWindow());
  if (HintId) hints->SetHintText(HintId.get(), Hint);
  HintManager = hints;
}

void TNdWin::KeyDown(WPARAM& key, TShiftState) {
  RaiseInteger(onKeyDown, static_cast<std::int32_t>(key));
}

void TNdWin::KeyUp(WPARAM& key, TShiftState) {
  RaiseInteger(onKeyUp, static_cast<std::int32_t>(key));
}

// The window's characters are UTF-16; the element's texts are Windows-1251.
void TNdWin::KeyPress(WPARAM& character) {
  RaiseString(onKeyPress, FromWide(std::wstring(1, static_cast<wchar_t>(character))));
}

void TNdWin::MouseDown(TMouseRecord& mouse) {
  LastMouse = mouse;
  RaiseInteger(onMouseDown, mouse.Button - 1);
  if (MouseCapture && Control && Control->Handle) {
    ReleaseCapture();
    SetCapture(Control->Handle);
  }
}

void TNdWin::MouseMove(TMouseRecord& mouse) {
  if (HintManager && HintId && Control && Control->Handle) {
    // The tooltip tracks in screen coordinates.
    POINT p{mouse.X, mouse.Y};
    ClientToScreen(Control->Handle, &p);
    HintManager->MoveHint(HintId.get(), p.x, p.y);
  }
  const int held = HeldButton(mouse.Flags);
  LastMouse = mouse;
  RaiseInteger(onMouseMove, held);
}

void TNdWin::MouseEnter() {
  if (HintManager && HintId) HintManager->ShowHint(HintId.get());
}

void TNdWin::MouseLeave() {
  if (HintManager && HintId) HintManager->HideHint(HintId.get());
}

void TNdWin::MouseUp(TMouseRecord& mouse) {
  LastMouse = mouse;
  RaiseInteger(onMouseUp, mouse.Button - 1);
  if (MouseCapture) ReleaseCapture();
}

void TNdWin::MouseWheel(TMouseRecord& mouse) {
  LastMouse = mouse;
  RaiseInteger(onMouseWheel, static_cast<std::int16_t>(HIWORD(mouse.Flags)));
}

bool TNdWin::HandleMessage(TMessage& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_MOVE: RaiseEvent(onMove); break;
    case WM_SETFOCUS: RaiseEvent(onEnter); break;
    case WM_KILLFOCUS: RaiseEvent(onExit); break;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(msg.lParam);
      if (pos && !(pos->flags & SWP_NOSIZE)) FilterSize(*pos);
      break;
    }
    case WM_MOUSEHOVER: MouseEnter(); break;
    case WM_MOUSELEAVE:
      MouseLeave();
      Track(msg.Window, TME_HOVER);
      break;
    default:
      if (msg.Msg >= WM_MOUSEFIRST && msg.Msg <= WM_MOUSEWHEEL) {
        Track(msg.Window, TME_LEAVE);
        MouseEnter();
      }
      break;
  }
  return PrevMessageHandler ? PrevMessageHandler(msg, result) : false;
}

// The current size is the window's own: the control's bounds may already hold the proposal.
void TNdWin::FilterSize(WINDOWPOS& pos) {
  RECT r;
  if (!GetWindowRect(pos.hwnd, &r)) return;
  FilterOne(pos.cy, r.bottom - r.top, HeightChange);
  FilterOne(pos.cx, r.right - r.left, WidthChange);
}

void TNdWin::ControlDestroyed() { ControlGone = true; }

void TNdWin::Resized() { RaiseEvent(onResize); }

void TNdWin::Shown() { RaiseEvent(onShow); }

// With ParentKeys the parent control's handler sees the key first and may swallow it (key 0).
void TNdWin::KeyDownHandler(TObj* sender, WPARAM& key, TShiftState shift) {
  if (ParentKeys && ParentControl && ParentControl->OnKeyDown) {
    ParentControl->OnKeyDown(sender, key, shift);
    if (key == 0) return;
  }
  KeyDown(key, shift);
}

void TNdWin::KeyUpHandler(TObj* sender, WPARAM& key, TShiftState shift) {
  if (ParentKeys && ParentControl && ParentControl->OnKeyUp) {
    ParentControl->OnKeyUp(sender, key, shift);
    if (key == 0) return;
  }
  KeyUp(key, shift);
}

void TNdWin::CharHandler(TObj* sender, WPARAM& character, TShiftState shift) {
  if (ParentKeys && ParentControl && ParentControl->OnChar) {
    ParentControl->OnChar(sender, character, shift);
    if (character == 0) return;
  }
  KeyPress(character);
}

void TNdWin::MouseDownHandler(TObj*, TMouseRecord& mouse) { MouseDown(mouse); }
void TNdWin::MouseMoveHandler(TObj*, TMouseRecord& mouse) { MouseMove(mouse); }
void TNdWin::MouseUpHandler(TObj*, TMouseRecord& mouse) { MouseUp(mouse); }
void TNdWin::MouseWheelHandler(TObj*, TMouseRecord& mouse) { MouseWheel(mouse); }

void TNdWin::DblClickHandler(TObj*, TMouseRecord& mouse) {
  RaiseInteger(onDblClick, mouse.Button - 1);
}

void TNdWin::WindowDestroyedHandler(TObj*) { ControlDestroyed(); }
void TNdWin::ResizeHandler(TObj*) { Resized(); }
void TNdWin::ShowHandler(TObj*) { Shown(); }

// Called while the control is still whole, just before it is deleted.
void TNdWin::ControlFreed(void* self, TObj*) {
  auto* element = static_cast<TNdWin*>(self);
  element->watchingControl = false;
  element->ControlDestroyed();
  element->ControlGone = true;
  element->Control = nullptr;
}

// Nothing the control still calls (it may outlive us while one of its messages runs) may
// reach this element once it is gone.
void TNdWin::DetachFromControl() {
  TControl* c = Control;
  if (watchingControl) c->RemoveFreeNotifier({&TNdWin::ControlFreed, this});
  watchingControl = false;
  void* const self = this;
  auto clear = [self](auto& slot) {
    if (slot.Data == self) slot = {};
  };
  if (c->OnMessage.Data == self) c->OnMessage = PrevMessageHandler;
  clear(c->OnClick);
  clear(c->OnChange);
  clear(c->OnPaint);
  clear(c->OnResize);
  clear(c->OnClose);
  clear(c->OnCreated);
  clear(c->OnShow);
  clear(c->OnHide);
  clear(c->OnWindowDestroyed);
  clear(c->OnDestroy);
  clear(c->OnMouseDown);
  clear(c->OnMouseMove);
  clear(c->OnMouseUp);
  clear(c->OnMouseWheel);
  clear(c->OnMouseDblClick);
  clear(c->OnKeyDown);
  clear(c->OnKeyUp);
  clear(c->OnChar);
}
