#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "hint_manager.h"
#include "resource_count.h"
#include "window_facts.h"

namespace {

class HintManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                            nullptr, nullptr);
    hints = manager.HintInterface();
  }
  void TearDown() override { DestroyWindow(owner); }

  std::wstring TipText(HWND tip) {
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(owner);
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return text;
  }

  TNdHintManager manager;
  THintInterface* hints = nullptr;
  HWND owner = nullptr;
};

TEST(FontHeight, RoundsThePixelHeightToTheNearestPixel) {
  EXPECT_EQ(FontHeightAt(8, 96), -11);
  EXPECT_EQ(FontHeightAt(8, 120), -13);
}

TEST_F(HintManagerTest, DefaultManagerMakesRectangularTahomaTipsInTheTooltipColours) {
  ASSERT_EQ(CreateDefaultHintManager(), DefaultHintManager);
  THintRecordPtr record = DefaultHintManager->HintInterface()->CreateHint(owner);
  const HWND tip = record->Tooltip.get();
  wchar_t className[32] = {};
  GetClassNameW(tip, className, 32);
  EXPECT_STREQ(className, L"tooltips_class32");
  EXPECT_EQ(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON, 0);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0), LRESULT(GetSysColor(COLOR_INFOBK)));
  EXPECT_EQ(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0), LRESULT(GetSysColor(COLOR_INFOTEXT)));
  EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
  EXPECT_STREQ(WindowFont(tip).lfFaceName, L"Tahoma");
  EXPECT_EQ(WindowFont(tip).lfHeight, FontHeight(8));
}

WNDPROC TooltipProc = nullptr;
int TrackMessages = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TrackMessages += msg == TTM_TRACKACTIVATE || msg == TTM_TRACKPOSITION;
  return CallWindowProcW(TooltipProc, window, msg, wParam, lParam);
}

TEST_F(HintManagerTest, BalloonTipTakesStyleBitsNewTextsAndTracksOnlyWhenAsked) {
  manager.RectangularTips = 0;
  manager.Font = MakeFontRec("Tahoma", 8, FontStyleBold | FontStyleUnderline, 0, 1);
  THintRecordPtr record = hints->CreateHint(owner);
  const HWND tip = record->Tooltip.get();
  EXPECT_NE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON, 0);
  EXPECT_EQ(WindowFont(tip).lfWeight, FW_BOLD);
  EXPECT_TRUE(WindowFont(tip).lfUnderline && !WindowFont(tip).lfItalic);

  hints->SetHintText(record.get(), std::string("Напряжение"));  // a temporary: the record copies
  EXPECT_EQ(TipText(tip), L"Напряжение");
  hints->SetHintText(record.get(), "Температура");
  EXPECT_EQ(TipText(tip), L"Температура");

  TooltipProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  for (const std::uint8_t tracking : {0, 1}) {
    manager.Tracking = tracking;
    hints->ShowHint(record.get());
    hints->MoveHint(record.get(), 10, 20);
    hints->HideHint(record.get());
  }
  EXPECT_EQ(TrackMessages, 3);
  SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TooltipProc));
}

TEST_F(HintManagerTest, DestroyHintGivesBackWindowAndFontEvenAfterTheOwnerWindowWent) {
  hints->DestroyHint(hints->CreateHint(owner));  // the class keeps objects made at its first use
  const std::size_t gdiBefore = CountGdiObjects(), windowsBefore = CountWindows();
  THintRecordPtr record = hints->CreateHint(owner);
  EXPECT_GT(CountGdiObjects(), gdiBefore);
  hints->DestroyHint(std::move(record));
  EXPECT_EQ(CountGdiObjects(), gdiBefore);
  EXPECT_EQ(CountWindows(), windowsBefore);

  record = hints->CreateHint(owner);
  const HWND tip = record->Tooltip.get();
  DestroyWindow(owner);  // takes the tooltip with it, but not the font
  EXPECT_FALSE(IsWindow(tip));
  hints->DestroyHint(std::move(record));
  EXPECT_EQ(CountGdiObjects(), gdiBefore);
}

}  // namespace
