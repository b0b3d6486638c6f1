#pragma once
// A live top-level form for tests of controls and windowed elements. Hidden unless focus or
// painting is tested: Wine under Xvfb takes about two seconds to destroy a visible top-level
// window.

#include "control.h"

struct TestForm {
  TOwned<TControl> form{CreateFormControl(nullptr, "test")};
  explicit TestForm(bool visible = false) {
    form->SetVisible(visible);
    form->EnsureWindow();
  }
  TControl* operator->() const { return form.get(); }
  TControl* get() const { return form.get(); }
};
