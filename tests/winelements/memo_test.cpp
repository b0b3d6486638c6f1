#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "memo.h"
#include "win_element_test_support.h"
#include "window_facts.h"

namespace {

// Notes what onChange carried and what the pane held at that moment.
struct PaneProbe : TObject {
  HWND pane = nullptr;
  std::vector<std::pair<TData, std::wstring>> seen;
  void doReceive(TData& data, std::uint16_t) { seen.emplace_back(data, WindowText(pane)); }
};

class MemoTest : public WinElementTest {
protected:
  void Make(bool addToTop, bool editable = false) {
    memo.AddToTop = addToTop;
    memo.Editable = editable;
    memo.ScrollBars = 2;
    memo.FrameStyle = frSunken;
    memo.Init();
    changes.pane = memo.Control->Handle;
    memo.onChange = MakeEvent<&PaneProbe::doReceive>(&changes, 0);
  }
  void Add(TData value) { RaiseData(MakeEvent<&TNdWinList::doAdd>(&memo, 0), value); }
  std::wstring Pane() { return WindowText(memo.Control->Handle); }
  std::string Content() { TData d; memo.Content(d, 0); return d.StrValue; }
  // Wine's edit reports typed changes only while it has the focus.
  void Type(wchar_t c) {
    SetFocus(changes.pane);
    SendMessageW(changes.pane, WM_CHAR, c, 0);
  }

  TNdMemo memo{form.get()};
  PaneProbe changes;
};

TEST_F(MemoTest, AddToTopPutsTheNewestLineFirstEachWithItsBreak) {
  Make(true);
  Add(StringData("3.71"));
  EXPECT_EQ(Pane(), L"3.71\r\n");
  Add(StringData("3.72"));
  EXPECT_EQ(Pane(), L"3.72\r\n3.71\r\n");
  Add(StringData("Напряжение"));
  EXPECT_EQ(Pane(), L"Напряжение\r\n3.72\r\n3.71\r\n");
  EXPECT_EQ(Content(), "Напряжение\r\n3.72\r\n3.71");
  EXPECT_EQ(Content()[0], '\xCD');
}

TEST_F(MemoTest, AddAtTheBottomAndContentBreakOnlyAroundNonEmptyLastLines) {
  Make(false);
  EXPECT_EQ(Content(), "");
  Add(StringData("a"));
  Add(IntegerData(42));
  EXPECT_EQ(Pane(), L"a\r\n42");
  memo.LoadText("a\r\nb\r\n");
  EXPECT_EQ(Content(), "a\r\nb");
  Add(StringData("c"));
  EXPECT_EQ(Pane(), L"a\r\nb\r\nc");
  memo.LoadText("a\r\n\r\n");
  EXPECT_EQ(Content(), "a\r\n\r\n");
}

TEST_F(MemoTest, ReadOnlyPaneIgnoresTypingAndRaisesNullAfterAddAndClear) {
  Make(true);
  const auto style = static_cast<DWORD>(GetWindowLongW(memo.Control->Handle, GWL_STYLE));
  EXPECT_EQ(style & (ES_READONLY | WS_VSCROLL | WS_HSCROLL | WS_BORDER), ES_READONLY | WS_VSCROLL);
  Add(StringData("5"));
  Type(L'x');
  EXPECT_EQ(Pane(), L"5\r\n");
  RaiseEvent(MakeEvent<&TNdWinList::doClear>(&memo, 1));
  ASSERT_EQ(changes.seen.size(), 2u);
  EXPECT_EQ(changes.seen[0].first.DataType, dtNull);
  EXPECT_EQ(changes.seen[0].second, L"5\r\n");
  EXPECT_EQ(changes.seen[1].first.DataType, dtNull);
  EXPECT_EQ(changes.seen[1].second, L"");
}

TEST_F(MemoTest, TypingInAnEditablePaneRaisesTheWholeText) {
  Make(false, true);
  memo.LoadText("ab");
  Type(L'c');
  ASSERT_EQ(changes.seen.size(), 1u);
  EXPECT_EQ(changes.seen[0].first.StrValue.size(), 3u);
  EXPECT_EQ(changes.seen[0].first.StrValue, Content());
}

TEST_F(MemoTest, ReplaceKeepsLineBreaksAndSelectReachesTheLastLine) {
  Make(false);
  memo.LoadText("a\r\nb");
  TData first = StringData("0"), last = StringData("1"), x = StringData("x"), y = StringData("yy");
  memo.ReplaceLine(first, x);
  memo.ReplaceLine(last, y);
  EXPECT_EQ(Pane(), L"x\r\nyy");
  DWORD start = 9, end = 0;
  for (const char* text : {"x\r\nyy", "abc"}) {
    memo.LoadText(text);
    memo.SelectLine(0);
    SendMessageW(memo.Control->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
  }
}

// Past the edit's 30,000-character typing limit a prepend still keeps every line. Wine lays the
// whole pane out again on every write (about 90 ms at 4,000 lines), so the pane starts full.
// A reply off a bad line may hold a zero byte: the pane cannot show past it, but keeps the rest.
TEST_F(MemoTest, ALineWithAZeroByteIsShownUpToItAndTheLinesBelowStay) {
  Make(true);
  Add(StringData("1.234"));
  Add(StringData(std::string("0.0\0\x9C" "1", 6)));
  Add(StringData("1.236"));
  EXPECT_EQ(Pane(), L"1.236\r\n0.0\r\n1.234\r\n");
}

TEST_F(MemoTest, AddsAtTheTopOfALongPaneKeepEveryLine) {
  Make(true);
  std::string text;
  for (int i = 0; i < 4000; ++i) text += std::to_string(100000 + i) + "\r\n";
  memo.LoadText(text);
  for (int i = 0; i < 20; ++i) Add(StringData("2." + std::to_string(1000 + i)));
  const std::wstring pane = Pane();
  EXPECT_EQ(std::count(pane.begin(), pane.end(), L'\n'), 4020);
  EXPECT_EQ(pane.size(), 8u * 4020);
  EXPECT_EQ(pane.substr(0, 8), L"2.1019\r\n");
  EXPECT_EQ(pane.substr(pane.size() - 8), L"103999\r\n");
}

}  // namespace
