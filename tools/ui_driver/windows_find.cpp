#include "windows_find.h"

#include <cwctype>

namespace {

std::wstring& MainCaptionSetting() {
  static std::wstring caption = L"VORTANE";
  return caption;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (std::towupper(text[text.size() - tail.size() + i]) != std::towupper(tail[i])) return false;
  }
  return true;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindMainWindowBy(std::wstring (*textOf)(HWND)) {
  for (HWND window : TopLevelWindows()) {
    if (!IsWindowVisible(window) || ChildrenOf(window).empty()) continue;
    if (textOf(window) == MainCaption()) return window;
  }
  return nullptr;
}

}  // namespace

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  DWORD_PTR answer = 0;
  const bool done =
      SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, MessageTimeoutMs, &answer) != 0;
  if (result) *result = static_cast<LRESULT>(answer);
  return done;
}

std::wstring TextOf(HWND window) {
  LRESULT length = 0;
  if (!SendWithin(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!SendWithin(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied))
    return {};
  text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
  return text;
}

std::wstring StoredTextOf(HWND window) {
  wchar_t text[256] = {};
  const int length = InternalGetWindowText(window, text, 256);
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The monitor's controls are superclasses of the standard ones ("obj_BUTTON" and so on).
ControlKind KindOf(HWND window) {
  const std::wstring name = ClassOf(window);
  if (EndsWithNoCase(name, L"BUTTON")) return ControlKind::Button;
  if (EndsWithNoCase(name, L"EDIT")) return ControlKind::Edit;
  if (EndsWithNoCase(name, L"STATIC")) return ControlKind::Static;
  return ControlKind::Other;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> direct;
  for (HWND child : all) {
    if (GetAncestor(child, GA_PARENT) == parent) direct.push_back(child);
  }
  return direct;
}

std::vector<HWND> ChildrenOfKind(HWND parent, ControlKind kind) {
  std::vector<HWND> found;
  for (HWND child : ChildrenOf(parent)) {
    if (KindOf(child) == kind) found.push_back(child);
  }
  return found;
}

void SetMainCaption(const std::wstring& caption) { MainCaptionSetting() = caption; }
const std::wstring& MainCaption() { return MainCaptionSetting(); }

HWND FindMainWindow() { return FindMainWindowBy(TextOf); }
HWND FindMainWindowQuietly() { return FindMainWindowBy(StoredTextOf); }

HWND FindBox(const std::wstring& caption) {
  for (HWND window : TopLevelWindows()) {
    if (!IsWindowVisible(window) || ClassOf(window) != L"#32770") continue;
    if (caption.empty() || TextOf(window) == caption) return window;
  }
  return nullptr;
}
