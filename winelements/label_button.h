#pragma once
// A caption that can react to the pointer and to clicks, and a push button whose click starts
// a chain of elements.

#include <cstdint>

#include "data.h"
#include "win_element.h"

class TNdLabel : public TNdWin {
public:
  // The control exists from here on, so AutoSize and TextAlign may be set before Init.
  explicit TNdLabel(TControl* parentControl);

  void SetAutoSize(bool on);
  void SetTextAlign(std::uint8_t align);  // 0 left, 1 right, 2 centred

  void Init() override;  // the base Init, then the caption
  void MouseEnter() override;
  void MouseLeave() override;

  TNd_Event onClick;
  TColor HoverColor = 0;          // 0: no colour change
  HCURSOR HoverCursor = nullptr;  // 0: no cursor change
  bool HoverUnderline = false;
  AnsiString Caption;

private:
  void Clicked(TObj* sender);
};

class TNdButton : public TNdWin {
public:
  using TNdWin::TNdWin;

  void Init() override;  // makes the control, then the base Init

  TNd_Event onClick;
  TData ClickData;  // sent with every click
  AnsiString Caption;
  bool Default = false;  // Enter in the form clicks it

private:
  void Clicked(TObj* sender);
};
