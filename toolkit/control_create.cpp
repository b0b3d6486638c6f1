#include <windows.h>

#include <iterator>
#include <string>

#include "control.h"
#include "control_hooks.h"
#include "text_codec.h"

namespace {

constexpr std::uint32_t ClipBits = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;  // 0x06000000
constexpr std::uint32_t BorderBit = WS_BORDER;
constexpr std::uint32_t ClientEdgeBit = WS_EX_CLIENTEDGE;
constexpr std::uint32_t ScrollBarBits = WS_HSCROLL | WS_VSCROLL;  // 0x00300000
constexpr UINT DroppedClassStyles = CS_GLOBALCLASS | CS_PARENTDC | CS_CLASSDC | CS_OWNDC;
constexpr WPARAM ClearHideFocus = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS);  // 0x10002

constexpr std::uint32_t LabelStyle = 0x5000018C;   // child, visible, notify, no prefix
constexpr std::uint32_t EditStyle = 0x50810000;    // child, visible, border, tab stop
constexpr std::uint32_t ButtonStyle = 0x50011000;  // child, visible, tab stop, push-like
constexpr int DefaultHeight = 22;

const TNotifyCodes StaticCodes{.Click = 0};
const TNotifyCodes ButtonCodes{.Click = BN_CLICKED, .SetFocus = BN_SETFOCUS,
                               .KillFocus = BN_KILLFOCUS};
const TNotifyCodes EditCodes{.Click = 0,
                             .SetFocus = EN_SETFOCUS,
                             .KillFocus = EN_KILLFOCUS,
                             .Change = EN_CHANGE,
                             .LineCountMsg = EM_GETLINECOUNT,
                             .LineIndexMsg = EM_LINEINDEX,
                             .LineLengthMsg = EM_LINELENGTH,
                             .GetLineMsg = EM_GETLINE,
                             .GetSelMsg = EM_GETSEL,
                             .SetSelMsg = EM_SETSEL,
                             .ReplaceSelMsg = EM_REPLACESEL};

// Edit option bit -> style; the first two add theirs when the bit is clear.
constexpr std::uint32_t EditOptionStyles[] = {0x00100080, 0x00200040, ES_LOWERCASE, ES_MULTILINE,
                                              ES_NOHIDESEL, ES_OEMCONVERT, ES_PASSWORD,
                                              ES_READONLY, ES_UPPERCASE, ES_WANTRETURN};

std::uint16_t NextControlId = 0x8000;

std::uint16_t TakeControlId() {
  const std::uint16_t id = NextControlId++;
  if (NextControlId == 0) NextControlId = 0x8000;
  return id;
}

void TakeFromParent(TControl* control, TControl* parent) {
  control->SetParent(parent);
  if (!parent) return;
  control->ThreeDLook = parent->ThreeDLook;
  control->Cursor = parent->Cursor;
  control->InheritedHook = parent->InheritedHook;
}

// The superclass of StdClassName, registered once under "obj_" + the name with the shared
// window procedure; false when it cannot be registered.
bool RegisterControlClass(TControl* control, HINSTANCE module, const std::wstring& className) {
  const std::wstring stdName = ToWide(control->StdClassName);
  WNDCLASSW wc{};
  wc.style = control->ClassStyle;
  wc.lpfnWndProc = control->StdWindowProc;
  WNDCLASSW standard{};
  const bool superclass = GetClassInfoW(nullptr, stdName.c_str(), &standard);
  if (superclass) wc = standard;
  wc.hInstance = module;
  wc.style &= ~DroppedClassStyles;
  if (!control->StdWindowProc) control->StdWindowProc = wc.lpfnWndProc;
  WNDCLASSW existing{};
  if (GetClassInfoW(module, className.c_str(), &existing)) return true;
  // A class of our own starts from the arrow; loading it (about 70 us under Wine) waits until
  // such a class is registered.
  if (!superclass) wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = ControlWindowProc;
  wc.lpszClassName = className.c_str();
  wc.lpszMenuName = nullptr;
  return RegisterClassW(&wc) != 0;
}

}  // namespace

void TControl::CreateWindowHandle() {
  if (!Handle) {
    if (IsChild && (!Parent || !Parent->Handle)) return;
    HINSTANCE module = GetModuleHandleW(nullptr);
    const std::wstring className = L"obj_" + ToWide(StdClassName);
    if (!RegisterControlClass(this, module, className)) return;

    int x = BoundsRect.left;
    int y = BoundsRect.top;
    int width = Width();
    int height = Height();
    // A child's default size is 0 by 0, and CW_USEDEFAULT as its width would zero the given
    // height too: a child passes its unset side as 0.
    const int unsetSide = IsChild ? 0 : CW_USEDEFAULT;
    if (width == 0) width = unsetSide;
    if (height == 0) height = unsetSide;
    if (!IsChild && !PositionSet) x = y = CW_USEDEFAULT;
    DWORD style = Style;
    if (!Enabled) style |= WS_DISABLED;
    // For a top-level window this parameter would be a menu handle.
    HMENU id = IsChild ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ControlId)) : nullptr;

    CreatingControl = this;
    Creating = true;
    HWND window = CreateWindowExW(ExStyle, className.c_str(), ToWide(Caption).c_str(), style, x,
                                  y, width, height, Parent ? Parent->Handle : nullptr, id, module,
                                  nullptr);
    Creating = false;
    CreatingControl = nullptr;
    if (!window) {
      Handle = nullptr;
      return;
    }
    if (!Handle) {
      Handle = window;
      SetPropW(window, SelfProp, this);
    }
    SendMessageW(Handle, WM_UPDATEUISTATE, ClearHideFocus, 0);
    SendFont();
    if (!IsChild) ApplyIcon();
    OnCreated(this);
    if (AfterCreationHook) AfterCreationHook(this);
  }
  // By index: a child made here may add or remove siblings.
  for (std::size_t i = 0; i < Children.size(); ++i) Children[i]->CreateWindowHandle();
}

TControl* CreateControl(TControl* parent, const char* stdClassName, std::uint32_t style,
                        const TNotifyCodes& codes, bool clientEdge) {
  auto* control = new TControl;
  control->StdClassName = stdClassName;
  control->Style = style | ClipBits;
  control->IsChild = true;
  control->Visible = (style & WS_VISIBLE) != 0;
  control->TabStop = (style & WS_TABSTOP) != 0;
  TakeFromParent(control, parent);
  if (TControl* form = parent ? control->ParentForm() : nullptr) {
    control->TabOrder = form->NextTabOrder++;
    if (control->TabStop && !form->LastFocused) form->LastFocused = control;
  }
  control->NavigationKeys = 15;
  control->ControlId = TakeControlId();
  control->NotifyCodes = codes;
  control->AddMessageHook(StdControlHook);
  if (clientEdge && parent && parent->ThreeDLook) {
    control->Style &= ~BorderBit;
    control->ExStyle |= ClientEdgeBit;
  }
  return control;
}

TControl* CreateApplicationControl(const AnsiString& caption) {
  auto* control = new TControl;
  control->StdClassName = "App";
  control->Style = 0x90CA0000;
  control->ExStyle = WS_EX_APPWINDOW;
  control->Caption = caption;
  control->AddMessageHook(AppHook);
  control->OnCreated.Code = TrimSystemMenu;
  return control;
}

TControl* CreateFormControl(TControl* parent, const AnsiString& caption) {
  auto* control = new TControl;
  control->StdClassName = "Form";
  control->ClassStyle |= CS_DBLCLKS;
  control->Caption = caption;
  TakeFromParent(control, parent);
  control->AddMessageHook(FormHook);
  return control;
}

TControl* CreateLabelControl(TControl* parent, const AnsiString& caption) {
  TControl* control = CreateControl(parent, "STATIC", LabelStyle, StaticCodes, false);
  control->Caption = caption;
  control->SetSize(0, DefaultHeight);
  return control;
}

TControl* CreatePaintBoxControl(TControl* parent) {
  TControl* control = CreateControl(parent, "STATIC", LabelStyle, StaticCodes, false);
  control->SetSize(40, 40);
  return control;
}

TControl* CreateEditControl(TControl* parent, std::uint32_t options) {
  std::uint32_t style = EditStyle;
  for (std::uint32_t bit = 0; bit < std::size(EditOptionStyles); ++bit) {
    const bool set = (options & (1u << bit)) != 0;
    if (set == (bit >= 2)) style |= EditOptionStyles[bit];
  }
  const bool multiLine = (options & eoMultiline) != 0;
  if (!multiLine) style &= ~ScrollBarBits;
  TControl* control = CreateControl(parent, "EDIT", style, EditCodes, true);
  control->NavigationKeys = multiLine ? 1 : 13;
  if (options & eoWantTab) control->NavigationKeys &= ~1u;
  if (multiLine)
    control->SetSize(200, 222);
  else
    control->SetSize(100, DefaultHeight);
  return control;
}

TControl* CreateButtonControl(TControl* parent, const AnsiString& caption) {
  TControl* control = CreateControl(parent, "BUTTON", ButtonStyle, ButtonCodes, false);
  control->Caption = caption;
  control->SetSize(0, DefaultHeight);
  return control;
}
