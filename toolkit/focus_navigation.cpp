#include <windows.h>

#include <algorithm>
#include <vector>

#include "control.h"

namespace {

constexpr std::uint8_t NavTab = 1;
constexpr std::uint8_t NavLeftRight = 2;
constexpr std::uint8_t NavUpDown = 4;
constexpr std::uint8_t NavPage = 8;

// Every control of the form, in list order; a control that is not a child is a form of its own.
void CollectFormControls(TControl* parent, std::vector<TControl*>& out) {
  for (TControl* child : parent->Children) {
    if (!child->IsChild) continue;
    out.push_back(child);
    CollectFormControls(child, out);
  }
}

bool CanTakeFocus(const TControl* control) {
  return control->TabStop && control->Handle && IsWindowVisible(control->Handle) &&
         IsWindowEnabled(control->Handle);
}

// -1 previous, +1 next, 0 not a navigation key for this control. Only key messages carry
// virtual keys: a typed '(' has the code of VK_DOWN and must reach the control.
int Direction(const TControl* control, const TMessage& msg) {
  if (msg.Msg != WM_KEYDOWN && msg.Msg != WM_KEYUP && msg.Msg != WM_SYSKEYDOWN &&
      msg.Msg != WM_SYSKEYUP)
    return 0;
  const std::uint8_t keys = control->NavigationKeys;
  switch (msg.wParam) {
    case VK_TAB:
      if (!(keys & NavTab)) return 0;
      return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    case VK_PRIOR: return keys & NavPage ? -1 : 0;
    case VK_NEXT: return keys & NavPage ? 1 : 0;
    case VK_LEFT: return keys & NavLeftRight ? -1 : 0;
    case VK_RIGHT: return keys & NavLeftRight ? 1 : 0;
    case VK_UP: return keys & NavUpDown ? -1 : 0;
    case VK_DOWN: return keys & NavUpDown ? 1 : 0;
    default: return 0;
  }
}

// The tab stop after (or before) the control in its form's tab order, wrapping around.
TControl* NeighbourTabStop(TControl* control, int direction) {
  TControl* form = control->ParentForm();
  if (!form || form == control) return nullptr;
  std::vector<TControl*> controls;
  CollectFormControls(form, controls);
  std::vector<TControl*> stops;
  for (TControl* c : controls)
    if (c == control || CanTakeFocus(c)) stops.push_back(c);
  std::stable_sort(stops.begin(), stops.end(),
                   [](const TControl* a, const TControl* b) { return a->TabOrder < b->TabOrder; });
  const auto at = std::find(stops.begin(), stops.end(), control);
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  if (count < 2) return nullptr;
  const std::ptrdiff_t index = at - stops.begin();
  return stops[static_cast<std::size_t>((index + direction + count) % count)];
}

bool FocusNavigation(TControl* self, TMessage& msg, LRESULT& result) {
  const int direction = Direction(self, msg);
  if (!direction) return false;
  if (msg.Msg == WM_KEYDOWN || msg.Msg == WM_SYSKEYDOWN) {
    if (TControl* next = NeighbourTabStop(self, direction)) SetFocus(next->Handle);
  }
  result = 0;
  return true;
}

}  // namespace

void TControl::EnableFocusNavigation() {
  if (TControl* form = ParentForm()) form->NavigationProc = FocusNavigation;
}

void TControl::SetTabOrder(int order) {
  if (order == TabOrder) return;
  if (TControl* form = ParentForm(); form && form != this) {
    std::vector<TControl*> controls;
    CollectFormControls(form, controls);
    for (TControl* c : controls)
      if (c != this && c->TabOrder >= order) ++c->TabOrder;
  }
  TabOrder = order;
}

void TControl::SetTabStop(bool on) {
  if (on == TabStop) return;
  TabStop = on;
  SetStyle(on ? Style | WS_TABSTOP : Style & ~static_cast<std::uint32_t>(WS_TABSTOP));
}
