#include "label_button.h"

namespace {

constexpr std::uint32_t MultiLineBit = BS_MULTILINE;  // 0x2000

}  // namespace

TNdLabel::TNdLabel(TControl* parentControl) : TNdWin(parentControl) {
  Control = CreateLabelControl(parentControl, "");
  Control->OnClick = MakeMethod<&TNdLabel::Clicked, TObj*>(this);
}

void TNdLabel::SetAutoSize(bool on) {
  if (Control) Control->SetAutoSize(on);
}

void TNdLabel::SetTextAlign(std::uint8_t align) {
  if (Control) Control->SetTextAlign(align);
}

void TNdLabel::Init() {
  TNdWin::Init();
  if (Control) Control->SetCaption(Caption);
}

void TNdLabel::MouseEnter() {
  TNdWin::MouseEnter();
  if (!Control) return;
  TGraphicTool* font = Control->Font();
  if (HoverColor != 0) font->SetColor(HoverColor);
  if (HoverCursor) Control->SetCursor(HoverCursor);
  if (HoverUnderline) font->SetFontStyle(font->FontStyle() | fsUnderline);
}

// Back to the label's own font colour, even when the font came from the parent.
void TNdLabel::MouseLeave() {
  TNdWin::MouseLeave();
  if (!Control) return;
  TGraphicTool* font = Control->Font();
  if (HoverColor != 0) font->SetColor(Font.Color);
  if (HoverCursor) Control->SetCursor(nullptr);
  if (HoverUnderline) font->SetFontStyle(font->FontStyle() & ~fsUnderline);
}

void TNdLabel::Clicked(TObj*) { RaiseEvent(onClick); }

void TNdButton::Init() {
  if (!Control) {
    Control = CreateButtonControl(ParentControl, Caption);
    Control->OnClick = MakeMethod<&TNdButton::Clicked, TObj*>(this);
    Control->SetDefaultButton(Default);
    Control->SetStyle(Control->Style | MultiLineBit);
  }
  TNdWin::Init();
}

void TNdButton::Clicked(TObj*) { RaiseData(onClick, ClickData); }
