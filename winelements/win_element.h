#pragma once
// Base of every element that owns a window: keeps the shared properties, applies them to its
// toolkit control in Init, and turns the control's notifications into output events.

#include <windows.h>

#include <cstdint>

#include "control.h"
#include "event.h"
#include "font_rec.h"
#include "hint_manager.h"
#include "object.h"

// Frame styles.
inline constexpr std::uint8_t frSunken = 0;  // three-dimensional client edge
inline constexpr std::uint8_t frSingle = 1;  // single-line border
inline constexpr std::uint8_t frKeep = 2;    // the control kind's own frame

class TNdWin : public TObject {
public:
  // The colour starts as the parent control's when a parent is given. Subclasses make Control
  // (in their constructor or at the start of Init).
  explicit TNdWin(TControl* parentControl);
  // Frees Control unless the toolkit freed it first (hiding it first while its window lives),
  // and takes back every handler and notifier bound to this element.
  ~TNdWin() override;

  virtual void KeyDown(WPARAM& key, TShiftState shift);
  virtual void KeyUp(WPARAM& key, TShiftState shift);
  virtual void KeyPress(WPARAM& character);
  virtual void MouseDown(TMouseRecord& mouse);
  virtual void MouseMove(TMouseRecord& mouse);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseUp(TMouseRecord& mouse);
  virtual void MouseWheel(TMouseRecord& mouse);
  virtual bool HandleMessage(TMessage& msg, LRESULT& result);
  virtual void ControlDestroyed();
  virtual void Resized();
  virtual void Shown();
  virtual void Init();  // applies every property and handler to Control
  virtual TFunc<TControl*>& GetControlAccessor() { return ControlAccessor; }

  // After all links exist; with no interface, the default hint manager is used when Hint is set.
  void RegisterHint(THintInterface* hints);

  // Reaches Control without knowing the element's class; set by Init.
  TFunc<TControl*> ControlAccessor;
  // The toolkit destroyed Control's window or Control itself; when the object went, Control
  // is null from then on.
  bool ControlGone = false;
  TControl* ParentControl = nullptr;  // borrowed
  TOnMessage PrevMessageHandler;
  TMouseRecord LastMouse{};
  THintRecordPtr HintId;
  THintInterface* HintManager = nullptr;  // borrowed
  TControl* Control = nullptr;            // owned unless ControlGone

  int Left = 0;
  int Top = 0;
  int Width = 0;   // applied only when > 0
  int Height = 0;  // applied only when > 0
  std::uint8_t Align = 0;
  int TabOrder = 0;  // > 0 tab stop at that position; 0 in creation order; < 0 none
  TColor Color = 0;
  std::uint8_t FrameStyle = frKeep;
  AnsiString Hint;
  TFontRec Font;
  bool ParentFont = false;
  bool Transparent = false;
  bool Visible = true;
  bool Enabled = true;
  HCURSOR Cursor = nullptr;
  bool MouseCapture = false;
  bool Flat = false;
  bool ParentKeys = true;
  std::uint8_t EdgeStyle = 0;  // with FrameStyle 0: 1 none, 2 static, 3 dialog, 4 client+dialog

  TNd_Event onKeyDown, onKeyUp, onKeyPress, onMouseDown, onMouseMove, onMouseUp, onMouseWheel,
      onEnter, onExit, onDblClick, onResize, onShow, onMove;
  TNd_Event WidthChange, HeightChange;  // pulled data inputs of the size filter

private:
  TControl* AccessControl() { return Control; }
  void KeyDownHandler(TObj* sender, WPARAM& key, TShiftState shift);
  void KeyUpHandler(TObj* sender, WPARAM& key, TShiftState shift);
  void CharHandler(TObj* sender, WPARAM& character, TShiftState shift);
  void MouseDownHandler(TObj* sender, TMouseRecord& mouse);
  void MouseMoveHandler(TObj* sender, TMouseRecord& mouse);
  void MouseUpHandler(TObj* sender, TMouseRecord& mouse);
  void MouseWheelHandler(TObj* sender, TMouseRecord& mouse);
  void DblClickHandler(TObj* sender, TMouseRecord& mouse);
  void WindowDestroyedHandler(TObj* sender);
  void ResizeHandler(TObj* sender);
  void ShowHandler(TObj* sender);
  static void ControlFreed(void* self, TObj* sender);
  void FilterSize(WINDOWPOS& pos);
  void DetachFromControl();

  bool watchingControl = false;  // our free notifier is registered on Control
};
