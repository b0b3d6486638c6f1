#pragma once
// The toolkit's window object: keeps a window's properties while no window exists, makes the
// window on first need, and routes every message through one shared window procedure.
//
// Destruction notifications:
//  - the object is freed (by its owner, its parent, or the toolkit when its window died):
//    TObj's OnDestroy and free notifiers (AddFreeNotifier), called while the object is whole;
//  - only the window died (the parent window went first), the object lives on with Handle 0:
//    OnWindowDestroyed.
// A control whose window dies as the main window (or as a child of the application control) is
// freed by the toolkit right after that message returns, so its owner must listen for the free.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "graphic_tool.h"
#include "method.h"
#include "obj.h"

class TControl;

using AnsiString = std::string;  // Windows-1251 bytes

struct TMessage {
  HWND Window = nullptr;
  UINT Msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A message hook answers true when it handled the message; result is then returned.
using THookProc = bool (*)(TControl* self, TMessage& msg, LRESULT& result);

struct TMessageHook {
  THookProc Proc = nullptr;
  bool RunAfterTermination = false;
};

struct TMouseRecord {
  std::uint8_t Button = 0;    // 1 left, 2 right, 3 middle; 0 for moves and the wheel
  bool StopHandling = false;  // set by a handler: no default processing
  std::uint32_t Flags = 0;    // wParam key and button flags, plus 0x20 while Alt is held
  std::int16_t X = 0;
  std::int16_t Y = 0;
};

using TShiftState = std::uint32_t;  // 4 Shift, 8 Ctrl, 0x20 Alt

// Per-kind table: command notification codes and the line messages of edit controls.
struct TNotifyCodes {
  int Click = -1;     // -1: the kind has no such notification
  int SetFocus = -1;
  int KillFocus = -1;
  int Change = -1;
  UINT LineCountMsg = 0;  // 0: the kind has no such message
  UINT LineIndexMsg = 0;
  UINT LineLengthMsg = 0;
  UINT GetLineMsg = 0;
  UINT GetSelMsg = 0;
  UINT SetSelMsg = 0;
  UINT ReplaceSelMsg = 0;
  UINT SetColorMsg = 0;  // sent with the resolved background colour before a colour change
};

using TOnMessage = TFunc<bool, TMessage&, LRESULT&>;      // (data, message, result) -> handled
using TOnClose = TMethod<TObj*, bool&>;                    // (data, sender, accept)
using TOnPaint = TMethod<TObj*, HDC>;                      // (data, sender, dc)
using TOnMouse = TMethod<TObj*, TMouseRecord&>;            // (data, sender, mouse)
using TOnKey = TMethod<TObj*, WPARAM&, TShiftState>;       // (data, sender, key, shift)

// Process-wide state of the application (the main body uses it).
extern TControl* AppControl;
extern bool AppRunning;
extern bool AppTerminated;

// Ends the process on the Windows shutdown road; ExitProcess unless a test replaces it.
extern void (*HaltProcess)(UINT exitCode);

// Process-wide hooks, all empty until a feature installs them.
extern THookProc FirstMessageHook;                 // first step of every WindowProc
extern void (*InvalidateHook)(TControl* control);  // after Invalidate of a windowed control
// After a window is made and its OnCreated ran, before its children's windows are made.
extern void (*AfterCreationHook)(TControl* control);
extern THookProc KeyHook;         // keyboard row, before the control's own key hook
extern HCURSOR OverrideCursor;    // wins over every control's Cursor

// Lays the children of parent out by their Align codes (align.cpp); null parent does nothing.
void AlignChildren(TControl* parent);

// The control bound to a window of the toolkit, or null.
TControl* ControlOfWindow(HWND window);

// The one window procedure of every toolkit window class.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

inline constexpr UINT CM_FREE = 0xB003;          // free the object after its message returns
inline constexpr UINT CM_COMMAND = 0xB005;       // WM_COMMAND reflected to the child control
inline constexpr UINT CM_CTLCOLOR_BASE = 0xBC00; // WM_CTLCOLOR* reflected: message + this

class TControl : public TObj, public TCanvasOwner {
public:
  // Creation is through the Create*Control functions below.
  TControl();

  virtual void SetDefaults();
  virtual void SetParent(TControl* parent);
  virtual void CreateWindowHandle();
  virtual LRESULT WindowProc(TMessage& msg);

  // Default processing: the superclassed standard procedure, or DefWindowProcW.
  LRESULT DefaultHandler(TMessage& msg);

  HWND EnsureWindow();
  TControl* ParentForm();    // the nearest control that is not a child (itself for a form)
  bool IsApplication() const { return this == AppControl; }
  bool IsMainWindow() const;

  AnsiString GetCaption() const;
  void SetCaption(const AnsiString& text);

  void SetColor(std::uint32_t color);
  void SetFontColor(std::uint32_t color);
  TGraphicTool* Font();   // made on first use, with FontColor; the window gets it by WM_SETFONT
  TGraphicTool* Brush();  // made on first use, with Color
  TCanvas* Canvas();      // painting surface of the window, made on first use
  bool HasCanvas() const { return static_cast<bool>(CanvasObject); }

  void SetPosition(int left, int top);
  void SetSize(int width, int height);  // each applied only when > 0
  int Left() const { return BoundsRect.left; }
  int Top() const { return BoundsRect.top; }
  int Width() const { return BoundsRect.right - BoundsRect.left; }
  int Height() const { return BoundsRect.bottom - BoundsRect.top; }
  RECT ClientRect();  // from 0, 0
  int ClientWidth();
  int ClientHeight();
  void SetClientSize(int width, int height);

  void SetStyle(std::uint32_t style);
  void SetExStyle(std::uint32_t exStyle);
  void SetThreeDLook(bool on);
  void SetEnabled(bool on);
  void SetVisible(bool on);  // explicit: marks the visibility as set
  void SetCursor(HCURSOR cursor);
  void SetIcon(HICON icon);  // top-level controls; (HICON)-1 means none
  HICON GetIcon() const { return Icon; }
  void Invalidate();

  void AddMessageHook(THookProc proc, bool runAfterTermination = false);
  void SetOnPaint(TOnPaint handler);
  void SetOnResize(TNotifyEvent handler);
  void SetOnMouseDown(TOnMouse handler);
  void SetOnMouseMove(TOnMouse handler);
  void SetOnMouseUp(TOnMouse handler);
  void SetOnMouseWheel(TOnMouse handler);
  void SetOnMouseDblClick(TOnMouse handler);
  void SetOnKeyDown(TOnKey handler);
  void SetOnKeyUp(TOnKey handler);
  void SetOnChar(TOnKey handler);
  void SetOnShow(TNotifyEvent handler);
  void SetOnHide(TNotifyEvent handler);

  // Edit lines (multi-line EDIT): positions are full 32-bit character indices.
  int LineCount();
  int LineStart(int line);
  AnsiString LineText(int line);
  int SelStart();
  void SetSelStart(int pos);
  void SetSelLength(int length);  // negative: to the end
  void ReplaceLine(int line, const AnsiString& text);
  void InsertText(int pos, const AnsiString& text);  // a position past the end appends
  void AppendText(const AnsiString& text);
  void ClearText();

  void EnableFocusNavigation();
  void SetTabOrder(int order);
  void SetTabStop(bool on);
  void SetAlign(std::uint8_t align);  // 0 none, 1 left, 2 top, 3 right, 4 bottom, 5 client
  void SetAlpha(std::uint8_t alpha);
  void SetTransparent(bool on);
  void SetDoubleBuffered(bool on);
  void SetDefaultButton(bool on);  // BUTTON: Enter in its form clicks it

  // Labels (label_control.cpp). With AutoSize on, every caption change sizes the control to
  // its text in its font.
  void SetAutoSize(bool on);
  void FitToCaption();
  void SetTextAlign(std::uint8_t align);  // STATIC: 0 left, 1 right, 2 centred

  // TCanvasOwner
  TColor CanvasColor() override { return Color; }
  TColor CanvasFontColor() override { return FontColor; }
  TGraphicTool* CanvasFont() override { return FontTool.get(); }
  TGraphicTool* CanvasBrush() override { return BrushTool.get(); }

  HWND Handle = nullptr;
  TControl* Parent = nullptr;
  std::vector<TControl*> Children;  // owned, in creation order
  std::string StdClassName;         // "App", "Form", "STATIC", "EDIT", "BUTTON"
  WNDPROC StdWindowProc = nullptr;
  std::uint32_t ClassStyle = 0x20;
  std::uint32_t Style = 0x16CF0000;
  std::uint32_t ExStyle = 0x00010000;
  RECT BoundsRect{0, 0, 0, 0};  // kept up to date from WM_WINDOWPOSCHANGED
  std::uint16_t ControlId = 0;
  AnsiString Caption;
  std::uint32_t Color = 0x8000000F;
  std::uint32_t FontColor = 0x80000008;
  bool Enabled = true;
  bool Visible = true;
  bool VisibleSetExplicitly = false;
  bool PositionSet = false;  // a top-level control without it gets the default position
  bool IsChild = false;
  bool TabStop = false;
  std::uint8_t Alpha = 255;
  bool Transparent = false;
  bool DoubleBuffered = false;
  bool AutoSize = false;
  std::uint8_t NavigationKeys = 0;  // 1 Tab, 2 Left/Right, 4 Up/Down, 8 PageUp/PageDown
  TNotifyCodes NotifyCodes;
  int TabOrder = 0;
  int NextTabOrder = 0;  // of a form: the number its next child takes
  std::uint8_t Align = 0;
  bool ThreeDLook = true;
  HCURSOR Cursor = nullptr;
  HICON Icon = nullptr;
  std::uint8_t WindowState = 0;  // from WM_SIZE: 0 normal, 1 minimised, 2 maximised
  int RestoreShowCmd = 0;        // show state remembered while the parent is minimised
  int FocusingCount = 0;
  TControl* LastFocused = nullptr;    // of a form: its last focused child
  TControl* DefaultButton = nullptr;  // of a form: clicked by Enter
  TControl* CurrentForm = nullptr;    // of the application control
  THookProc NavigationProc = nullptr;  // of a form: focus navigation
  THookProc InheritedHook = nullptr;   // second hook slot, taken over from the parent
  THookProc ControlKeyHook = nullptr;  // installed by the key handler setters

  TNotifyEvent OnClick;
  TNotifyEvent OnChange;
  TOnPaint OnPaint;
  TNotifyEvent OnResize;
  TOnClose OnClose;
  TOnMessage OnMessage;
  TNotifyEvent OnCreated;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnWindowDestroyed;
  TOnMouse OnMouseDown, OnMouseMove, OnMouseUp, OnMouseWheel, OnMouseDblClick;
  TOnKey OnKeyDown, OnKeyUp, OnChar;

  std::vector<TMessageHook> MessageHooks;

  // Used up by the next paint of the paint hook: a region still to be painted, merged into that
  // paint's update region, and a region the paint is clipped to.
  TGdiObject<HRGN> PendingInvalidRegion;
  TGdiObject<HRGN> PendingClipRegion;

protected:
  ~TControl() override;  // destroys the window, then frees the children, last first

private:
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

  LRESULT BuiltInHandling(TMessage& msg);
  LRESULT KeyboardRow(TMessage& msg);
  LRESULT HandleClose(TMessage& msg);
  void WindowGone();
  void ToolChanged(TGraphicTool* tool);
  void SendFont();
  void ApplyIcon();
  void ApplyBounds(UINT flags);

  bool Destroying = false;     // inside the destructor: handlers are no longer called
  bool Creating = false;       // inside CreateWindowExW: a window dying now never existed
  HFONT SentFont = nullptr;    // the font handle the window was last given
  HICON OwnedIcon = nullptr;   // a copy of the application control's icon, destroyed with us
  TOwned<TGraphicTool> FontTool;
  TOwned<TGraphicTool> BrushTool;
  TOwned<TCanvas> CanvasObject;
};

TControl* CreateApplicationControl(const AnsiString& caption);
TControl* CreateFormControl(TControl* parent, const AnsiString& caption);
TControl* CreateLabelControl(TControl* parent, const AnsiString& caption);
TControl* CreatePaintBoxControl(TControl* parent);
TControl* CreateEditControl(TControl* parent, std::uint32_t options);
TControl* CreateButtonControl(TControl* parent, const AnsiString& caption);
TControl* CreateControl(TControl* parent, const char* stdClassName, std::uint32_t style,
                        const TNotifyCodes& codes, bool clientEdge);

// Edit control options (see CreateEditControl).
inline constexpr std::uint32_t eoNoHScroll = 1u << 0;
inline constexpr std::uint32_t eoNoVScroll = 1u << 1;
inline constexpr std::uint32_t eoLowercase = 1u << 2;
inline constexpr std::uint32_t eoMultiline = 1u << 3;
inline constexpr std::uint32_t eoNoHideSel = 1u << 4;
inline constexpr std::uint32_t eoOemConvert = 1u << 5;
inline constexpr std::uint32_t eoPassword = 1u << 6;
inline constexpr std::uint32_t eoReadonly = 1u << 7;
inline constexpr std::uint32_t eoUpperCase = 1u << 8;
inline constexpr std::uint32_t eoWantReturn = 1u << 9;
inline constexpr std::uint32_t eoWantTab = 1u << 10;
