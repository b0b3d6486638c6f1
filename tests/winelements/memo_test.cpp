#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "memo.h"

namespace {

std::wstring PaneText(HWND window) {
  std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, 0);
  text.resize(static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

TData Text(const std::string& text) { TData d; MakeString(d, text); return d; }

// Notes what onChange carried and what the pane held at that moment.
struct Probe : TObject {
  HWND pane = nullptr;
  std::vector<std::pair<TData, std::wstring>> seen;
  void doReceive(TData& data, std::uint16_t) { seen.emplace_back(data, PaneText(pane)); }
};

class MemoTest : public ::testing::Test {
protected:
  // The parent stays hidden: Wine under Xvfb is slow to destroy a visible top-level window.
  void Make(bool addToTop, bool editable = false) {
    InstallDispatchers();
    form->SetVisible(false);
    memo.AddToTop = addToTop;
    memo.Editable = editable;
    memo.ScrollBars = 2;
    memo.FrameStyle = frSunken;
    memo.Init();
    probe.pane = memo.Control->Handle;
    memo.onChange = MakeEvent<&Probe::doReceive>(&probe, 0);
  }
  void TearDown() override { RemoveDispatchers(); }
  void Add(TData value) { RaiseData(MakeEvent<&TNdWinList::doAdd>(&memo, 0), value); }
  std::wstring Pane() { return PaneText(memo.Control->Handle); }
  std::string Content() { TData d; memo.Content(d, 0); return d.StrValue; }
  // Wine's edit reports typed changes only while it has the focus.
  void Type(wchar_t c) {
    SetFocus(probe.pane);
    SendMessageW(probe.pane, WM_CHAR, c, 0);
  }

  TOwned<TControl> form{CreateFormControl(nullptr, "memo")};
  TNdMemo memo{form.get()};
  Probe probe;
};

TEST_F(MemoTest, AddToTopPutsTheNewestLineFirstEachWithItsBreak) {
  Make(true);
  Add(Text("3.71"));
  EXPECT_EQ(Pane(), L"3.71\r\n");
  Add(Text("3.72"));
  EXPECT_EQ(Pane(), L"3.72\r\n3.71\r\n");
  Add(Text("Напряжение"));
  EXPECT_EQ(Pane(), L"Напряжение\r\n3.72\r\n3.71\r\n");
  EXPECT_EQ(Content(), "Напряжение\r\n3.72\r\n3.71");
  EXPECT_EQ(Content()[0], '\xCD');
}

TEST_F(MemoTest, AddAtTheBottomAndContentBreakOnlyAroundNonEmptyLastLines) {
  Make(false);
  EXPECT_EQ(Content(), "");
  Add(Text("a"));
  TData number;
  MakeInteger(number, 42);
  Add(number);
  EXPECT_EQ(Pane(), L"a\r\n42");
  memo.LoadText("a\r\nb\r\n");
  EXPECT_EQ(Content(), "a\r\nb");
  Add(Text("c"));
  EXPECT_EQ(Pane(), L"a\r\nb\r\nc");
  memo.LoadText("a\r\n\r\n");
  EXPECT_EQ(Content(), "a\r\n\r\n");
}

TEST_F(MemoTest, ReadOnlyPaneIgnoresTypingAndRaisesNullAfterAddAndClear) {
  Make(true);
  const auto style = static_cast<DWORD>(GetWindowLongW(memo.Control->Handle, GWL_STYLE));
  EXPECT_EQ(style & (ES_READONLY | WS_VSCROLL | WS_HSCROLL | WS_BORDER), ES_READONLY | WS_VSCROLL);
  Add(Text("5"));
  Type(L'x');
  EXPECT_EQ(Pane(), L"5\r\n");
  RaiseEvent(MakeEvent<&TNdWinList::doClear>(&memo, 1));
  ASSERT_EQ(probe.seen.size(), 2u);
  EXPECT_EQ(probe.seen[0].first.DataType, dtNull);
  EXPECT_EQ(probe.seen[0].second, L"5\r\n");
  EXPECT_EQ(probe.seen[1].first.DataType, dtNull);
  EXPECT_EQ(probe.seen[1].second, L"");
}

TEST_F(MemoTest, TypingInAnEditablePaneRaisesTheWholeText) {
  Make(false, true);
  memo.LoadText("ab");
  Type(L'c');
  ASSERT_EQ(probe.seen.size(), 1u);
  EXPECT_EQ(probe.seen[0].first.StrValue.size(), 3u);
  EXPECT_EQ(probe.seen[0].first.StrValue, Content());
}

TEST_F(MemoTest, ReplaceKeepsLineBreaksAndSelectReachesTheLastLine) {
  Make(false);
  memo.LoadText("a\r\nb");
  TData first = Text("0"), last = Text("1"), x = Text("x"), y = Text("yy");
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
TEST_F(MemoTest, AddsAtTheTopOfALongPaneKeepEveryLine) {
  Make(true);
  std::string text;
  for (int i = 0; i < 4000; ++i) text += std::to_string(100000 + i) + "\r\n";
  memo.LoadText(text);
  for (int i = 0; i < 20; ++i) Add(Text("2." + std::to_string(1000 + i)));
  const std::wstring pane = Pane();
  EXPECT_EQ(std::count(pane.begin(), pane.end(), L'\n'), 4020);
  EXPECT_EQ(pane.size(), 8u * 4020);
  EXPECT_EQ(pane.substr(0, 8), L"2.1019\r\n");
  EXPECT_EQ(pane.substr(pane.size() - 8), L"103999\r\n");
}

}  // namespace
