#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "hint_manager.h"
#include "window_facts.h"

namespace {

// The text is given as a temporary: the record must keep its own copy.
TEST(HintManager, DefaultTipIsRectangularTahomaAndShowsItsCyrillicText) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr,
                                     nullptr, nullptr, nullptr);
  THintInterface* hints = CreateDefaultHintManager()->HintInterface();
  THintRecordPtr record = hints->CreateHint(owner);
  const HWND tip = record->Tooltip.get();
  hints->SetHintText(record.get(), std::string("Напряжение"));
  wchar_t text[80] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(owner);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"Напряжение");
  EXPECT_EQ(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON, 0);
  EXPECT_STREQ(WindowFont(tip).lfFaceName, L"Tahoma");
  hints->DestroyHint(std::move(record));
  DestroyWindow(owner);
}

}  // namespace
