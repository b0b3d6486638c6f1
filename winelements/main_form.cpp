#include "main_form.h"

#include <iterator>
#include <vector>

namespace {

constexpr std::uint32_t FrameStyleBits = 0xC70000;  // caption, sizing frame, min and max boxes
constexpr std::uint32_t FrameExStyleBits = 0x181;   // dialog frame, tool window, window edge
constexpr std::uint32_t HiddenAppExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;  // 0x81
constexpr WPARAM DragMove = 0xF012;  // SC_MOVE by the caption: the window follows the mouse
constexpr LPARAM CloseByParent = 1;

struct TFrame {
  std::uint32_t Style;
  std::uint32_t ExStyle;
};

constexpr TFrame Frames[] = {
    {0, 0},              // no caption, no frame
    {0xC20000, 0},       // caption with minimise box, fixed size
    {0xC70000, 0},       // caption, sizing frame, minimise and maximise boxes
    {0xC00000, 0x100},   // caption, fixed, window edge
    {0xC00000, 0x80},    // tool window caption, fixed
    {0xC40000, 0x80},    // tool window caption, sizing frame
    {0, 0x1},            // dialog modal frame without caption
    {0x40000, 0x80},     // sizing frame, tool window, no caption
    {0, 0x201},          // client edge and dialog modal frame, no caption
    {0x40000, 0x200},    // sizing frame and client edge, no caption
};

}  // namespace

TNdMainForm::TNdMainForm(TControl* parentControl) : TNdWin(parentControl) {
  if (!AppControl) {
    AppControl = CreateApplicationControl("");
    OwnsApplication = true;
  }
  Control = CreateFormControl(parentControl ? parentControl : AppControl, "Form");
  Control->SetVisible(false);
  Control->SetOnShow(MakeMethod<&TNdMainForm::ShowNotice, TObj*>(this));
  AddInitProc(MakeInitProc<&TNdMainForm::StartUp>(this));
}

// The start-up list may not have run yet (a form torn down before the program started): its
// entry must not call into a deleted element.
TNdMainForm::~TNdMainForm() {
  for (TInitProc& proc : InitProcs)
    if (proc.Target == this) proc.Code = nullptr;
}

void TNdMainForm::SetCaption(const AnsiString& text) {
  Control->SetCaption(text);
  if (OwnsApplication && AppControl) AppControl->SetCaption(text);
}

void TNdMainForm::SetBorderStyle(std::uint8_t value) {
  if (value >= std::size(Frames)) return;
  Control->EnsureWindow();
  Control->SetStyle((Control->Style & ~FrameStyleBits) | Frames[value].Style);
  Control->SetExStyle((Control->ExStyle & ~FrameExStyleBits) | Frames[value].ExStyle);
}

// Without a parent control 0 stays, and the toolkit's default (the application's icon) applies.
void TNdMainForm::SetIcon(HICON icon) {
  if (OwnsApplication && AppControl) AppControl->SetIcon(icon);
  if (!icon && ParentControl) icon = ParentControl->GetIcon();
  Control->SetIcon(icon);
}

void TNdMainForm::SetHideFromTaskbar(bool on) {
  if (on && OwnsApplication && AppControl) AppControl->SetExStyle(HiddenAppExStyle);
}

void TNdMainForm::Init() {
  Placement = ChoosePlacement(SaveKey);
  const bool visible = Visible;
  // On a top-level window the tab-stop bit that the base writes is the maximise box: the frame
  // chosen by BorderStyle keeps its own.
  const std::uint32_t maximizeBox = Control->Style & WS_MAXIMIZEBOX;
  Visible = false;
  TNdWin::Init();
  Visible = visible;
  Control->SetStyle((Control->Style & ~static_cast<std::uint32_t>(WS_MAXIMIZEBOX)) | maximizeBox);
  Control->SetAlpha(AlphaBlend);
  if (ClientSize) Control->SetClientSize(Width, Height);
}

void TNdMainForm::StartUp() {
  if (!Control || ControlGone) return;
  RaiseEvent(onCreate);
  Control->SetVisible(Visible);
}

// ShownOnce goes first: showing minimised or maximised from here re-enters this notification.
// The stored bounds go first too, so that they become the bounds the window restores to.
void TNdMainForm::Shown() {
  if (!ShownOnce) {
    ShownOnce = true;
    if (Placement) Placement(Control, SaveKey, false);
    if (WindowState == 1) ShowWindow(Control->Handle, SW_SHOWMINNOACTIVE);
    if (WindowState == 2) ShowWindow(Control->Handle, SW_SHOWMAXIMIZED);
  }
  TNdWin::Shown();
}

// Only the left button drags: the move loop ends when the left button goes up.
void TNdMainForm::MouseDown(TMouseRecord& mouse) {
  if (DragForm && mouse.Button == 1) {
    ReleaseCapture();
    SendMessageW(Control->Handle, WM_SYSCOMMAND, DragMove, 0);
  }
  TNdWin::MouseDown(mouse);
}

bool TNdMainForm::HandleMessage(TMessage& msg, LRESULT& result) {
  TControl* app = OwnsApplication ? AppControl : nullptr;
  switch (msg.Msg) {
    case WM_MOVE:
      // onMove is raised once, by the base.
      if (app) app->SetPosition(Control->Left(), Control->Top());
      break;
    case WM_SIZE:
      if (app) app->SetSize(Control->Width(), 0);
      break;
    case WM_ACTIVATE:
      RaiseEvent(LOWORD(msg.wParam) ? onActivate : onDeactivate);
      break;
    case WM_CLOSE:
      if (msg.lParam == 0 && ReadPointInteger(CloseVeto) != 0) {
        result = 0;
        return true;
      }
      CloseChildForms();
      if (OwnsApplication) {
        RaiseEvent(onClose);
        RemoveDispatchers();
      }
      if (Placement) Placement(Control, SaveKey, true);
      break;
    default:
      break;
  }
  return TNdWin::HandleMessage(msg, result);
}

// By window: a child form's close may change the children list while we walk it.
void TNdMainForm::CloseChildForms() {
  std::vector<HWND> forms;
  for (TControl* child : Control->Children)
    if (child->StdClassName == "Form" && child->Handle) forms.push_back(child->Handle);
  for (HWND form : forms)
    if (IsWindow(form)) SendMessageW(form, WM_CLOSE, 0, CloseByParent);
}
