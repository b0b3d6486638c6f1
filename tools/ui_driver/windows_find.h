#pragma once
// Finding the monitor's windows from another process and reading them with messages only:
// another process's window text must come through WM_GETTEXT, never GetWindowText.

#include <windows.h>

#include <string>
#include <vector>

// How long one message to the monitor may take. Generous: on the tests' fast clock it shrinks
// many times over, and the caller bounds a hung monitor on the real clock anyway.
inline constexpr UINT MessageTimeoutMs = 600000;

enum class ControlKind { Button, Edit, Static, Other };

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
ControlKind KindOf(HWND window);

// The text the system keeps for a window, read without a message to the window's thread, so a
// busy program cannot hold the read up. An edit control's content may differ from it.
std::wstring StoredTextOf(HWND window);

// The caption FindMainWindow looks for: "VORTANE" unless the caller names another (a monitor
// started on a chosen port names it, "VORTANE COM3").
void SetMainCaption(const std::wstring& caption);
const std::wstring& MainCaption();

// The visible top-level window with the main caption that holds the monitor's controls.
HWND FindMainWindow();
// The same window, found through StoredTextOf.
HWND FindMainWindowQuietly();
// A visible standard dialog ("#32770") with this caption; any caption when it is empty.
HWND FindBox(const std::wstring& caption);

// The direct children of a window, in the order the platform lists them.
std::vector<HWND> ChildrenOf(HWND parent);
std::vector<HWND> ChildrenOfKind(HWND parent, ControlKind kind);

// Sends a message and waits for it to be handled, at most MessageTimeoutMs.
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
