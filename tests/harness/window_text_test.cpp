#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring windowText(HWND window) {
  wchar_t buffer[256] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

TEST(WineHarness, RealWindowKeepsItsUnicodeText) {
  // "Напряжение" written as UTF-16 code points, independent of the source charset.
  const std::wstring caption = L"\x041D\x0430\x043F\x0440\x044F\x0436\x0435\x043D\x0438\x0435";
  HWND window = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr) << "no display: CreateWindowExW failed with " << GetLastError();
  EXPECT_EQ(windowText(window), caption);

  SetWindowTextW(window, L"VORTANE");
  EXPECT_EQ(windowText(window), L"VORTANE");
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
