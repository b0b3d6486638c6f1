#pragma once
// The element that owns the top-level window. It makes the application control when none
// exists, keeps its window hidden until the start-up list runs, can store the window's bounds
// between runs, lets a data input refuse a close by the user, and at closing raises onClose and
// switches the whole program's event dispatch off.
//
// Ownership: Control is freed by the TNdWin destruction unless the toolkit freed it first (it
// does when the main window dies, and when the application control is freed with its children).
// An application control made here (OwnsApplication) is NOT freed by the element: the message
// loop's TerminateApp frees it on the program's road, and code without that loop (tests) frees
// AppControl itself and clears it. Either order of freeing is safe.

#include <windows.h>

#include <cstdint>

#include "control.h"
#include "event.h"
#include "placement.h"
#include "win_element.h"

class TNdMainForm : public TNdWin {
public:
  explicit TNdMainForm(TControl* parentControl);
  ~TNdMainForm() override;

  void SetCaption(const AnsiString& text);
  void SetBorderStyle(std::uint8_t value);  // 0..9; above 9 ignored
  void SetIcon(HICON icon);                 // 0: the parent control's icon
  void SetHideFromTaskbar(bool on);

  void MouseDown(TMouseRecord& mouse) override;
  bool HandleMessage(TMessage& msg, LRESULT& result) override;
  void Shown() override;
  void Init() override;

  bool OwnsApplication = false;
  bool ShownOnce = false;
  bool DragForm = false;
  std::uint8_t AlphaBlend = 0;
  std::uint8_t WindowState = 0;  // 0 normal, 1 minimised, 2 maximised; at the first showing
  TPlacement Placement = nullptr;  // chosen by Init from SaveKey
  AnsiString SaveKey;
  bool ClientSize = false;  // Width and Height size the client area
  TNd_Event CloseVeto;      // pulled: a non-zero Integer refuses a close by the user
  TNd_Event onActivate, onDeactivate, onCreate, onClose;

private:
  void StartUp();
  void ShowNotice(TObj*) { Shown(); }
  void CloseChildForms();
};
