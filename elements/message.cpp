#include "message.h"

#include <iterator>

#include "control.h"
#include "text_codec.h"

UINT MessageStyle(std::uint8_t buttons, std::uint8_t icon, std::uint8_t defaultButton) {
  // The selector's order is not the order of the platform's constants.
  static constexpr UINT ButtonFlags[] = {MB_OK,          MB_OKCANCEL,      MB_YESNO,
                                         MB_YESNOCANCEL, MB_RETRYCANCEL,   MB_ABORTRETRYIGNORE};
  static constexpr UINT IconFlags[] = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION,
                                       MB_ICONASTERISK};
  static constexpr UINT DefaultFlags[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  UINT style = 0;
  if (buttons < std::size(ButtonFlags)) style |= ButtonFlags[buttons];
  if (icon < std::size(IconFlags)) style |= IconFlags[icon];
  if (defaultButton < std::size(DefaultFlags)) style |= DefaultFlags[defaultButton];
  return style;
}

HWND MessageOwner() {
  if (!AppControl) return nullptr;
  if (AppControl->CurrentForm) return AppControl->CurrentForm->Handle;
  if (AppControl->Children.empty()) return nullptr;
  return AppControl->Children.front()->Handle;
}

void TNdMessage::doMessage(TData& data, std::uint16_t) {
  const AnsiString text = ReadString(data, TextInput, Text);
  const AnsiString caption = ReadString(data, CaptionInput, Caption);
  const int code = MessageBoxW(MessageOwner(), ToWide(text).c_str(), ToWide(caption).c_str(),
                               MessageStyle(Buttons, Icon, DefaultButton));
  RaiseInteger(onResult, code);
  // 0 (the box could not be shown) and any unknown code defer nothing.
  TNd_Event* const outputs[] = {&onOk,    &onCancel, &onAbort, &onRetry,
                                &onIgnore, &onYes,    &onNo};
  if (code >= IDOK && code <= IDNO) DeferEvent(data, *outputs[code - IDOK]);
}
