#pragma once
// A live top-level form for control tests, a memory bitmap to paint into, and a journal that
// handlers write into.

#include <windows.h>

#include <string>
#include <vector>

#include "control.h"

// Freeing the form frees every control made in it. Hidden unless painting is tested: Wine
// under Xvfb takes about two seconds to destroy a visible top-level window.
struct TestForm {
  TOwned<TControl> form{CreateFormControl(nullptr, "test")};
  explicit TestForm(bool visible = false) {
    form->SetVisible(visible);
    form->EnsureWindow();
  }
  TControl* operator->() const { return form.get(); }
  TControl* get() const { return form.get(); }
};

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

struct TestBitmap {
  TMemoryDC dc{nullptr};
  TGdiObject<HBITMAP> bitmap{CreateBitmap(8, 8, 1, 32, nullptr)};
  TSelectGuard select{dc.Get(), bitmap.Get()};
  WPARAM wParam() const { return reinterpret_cast<WPARAM>(dc.Get()); }
};

struct Journal {
  std::vector<std::string> entries;
  template <int N>
  void Note(TObj*) { entries.push_back(Names[N]); }
  static constexpr const char* Names[] = {"click", "change", "show", "hide", "destroyed",
                                          "window destroyed", "freed"};
};

enum { Click, Change, Show, Hide, Destroyed, WindowDestroyed, Freed };

template <int N>
TNotifyEvent Note(Journal& journal) {
  return MakeMethod<&Journal::Note<N>, TObj*>(&journal);
}
