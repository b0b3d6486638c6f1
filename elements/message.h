#pragma once
// The message element: a modal message box, and which button closed it, reported as a code and
// as an output per button.

#include <windows.h>

#include <cstdint>

#include "data.h"
#include "event.h"
#include "object.h"

class TNdMessage : public TObject {
public:
  AnsiString Text;     // default of TextInput
  AnsiString Caption;  // default of CaptionInput
  std::uint8_t Buttons = 0;  // 0 OK, 1 OK/Cancel, 2 Yes/No, 3 Yes/No/Cancel, 4 Retry/Cancel,
                             // 5 Abort/Retry/Ignore
  std::uint8_t Icon = 0;     // 0 none, 1 hand, 2 question, 3 exclamation, 4 asterisk
  std::uint8_t DefaultButton = 0;  // 0 first, 1 second, 2 third
  TNd_Event TextInput;
  TNd_Event CaptionInput;
  TNd_Event onResult;
  TNd_Event onOk, onCancel, onAbort, onRetry, onIgnore, onYes, onNo;

  // Raises onResult with the box's code, then defers the button's own output.
  void doMessage(TData& data, std::uint16_t index);
};

// The MB_* flags of the three selectors; a value outside its range adds nothing.
UINT MessageStyle(std::uint8_t buttons, std::uint8_t icon, std::uint8_t defaultButton);

// The main window the application control recorded, else its first child's window, else none
// (the box then belongs to the desktop).
HWND MessageOwner();
