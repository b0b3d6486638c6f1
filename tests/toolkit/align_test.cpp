#include "control.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "window_facts.h"

namespace {

// Where the window really is, in its parent's client coordinates, and where the control says.
void ExpectPlace(const TControl* control, RECT expected) {
  const RECT w = ChildRect(control->Handle);
  EXPECT_TRUE(EqualRect(&w, &expected) && EqualRect(&control->BoundsRect, &expected))
      << w.left << ',' << w.top << ',' << w.right << ',' << w.bottom;
}

// The client child comes first in the list: the passes, not the list, decide the order.
TEST(Align, TopLeftAndClientChildrenShareTheParentAndFollowItsSize) {
  TOwned<TControl> form(CreateFormControl(nullptr, "align"));
  TControl* client = CreatePaintBoxControl(form.get());
  TControl* inner = CreatePaintBoxControl(client);
  TControl* top = CreateLabelControl(form.get(), "top");
  TControl* left = CreateLabelControl(form.get(), "left");
  top->SetSize(50, 20);
  left->SetSize(30, 10);
  form->EnsureWindow();
  form->SetClientSize(200, 120);
  client->SetAlign(5);
  inner->SetAlign(5);
  top->SetAlign(2);
  left->SetAlign(1);
  ExpectPlace(top, {0, 0, 200, 20});
  ExpectPlace(left, {0, 20, 30, 120});
  ExpectPlace(client, {30, 20, 200, 120});
  ExpectPlace(inner, {0, 0, 170, 100});

  form->SetClientSize(300, 150);
  ExpectPlace(top, {0, 0, 300, 20});
  ExpectPlace(inner, {0, 0, 270, 130});
}

}  // namespace
