#include "memo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win_element_test_support.h"
#include "window_facts.h"

namespace {

class MemoTest : public WinElementTest {
protected:
  void Make(bool addToTop) {
    memo.AddToTop = addToTop;
    memo.ScrollBars = 2;
    memo.onChange = probe.Link(0);
    memo.Init();
  }
  void Add(TData value) { RaiseData(MakeEvent<&TNdWinList::doAdd>(&memo, 0), value); }
  std::wstring Pane() { return WindowText(memo.Control->Handle); }
  std::string Content() {
    TData d;
    memo.Content(d, 0);
    return d.StrValue;
  }

  TNdMemo memo{form.get()};
};

// A reply off a bad line may hold a zero byte: the pane cannot show past it, but keeps the rest.
TEST_F(MemoTest, AddToTopPutsTheNewestLineFirstEachWithItsBreak) {
  Make(true);
  Add(StringData("3.71"));
  EXPECT_EQ(Pane(), L"3.71\r\n");
  Add(StringData(std::string("0.0\0\x9C" "1", 6)));
  Add(StringData("Напряжение"));
  EXPECT_EQ(Pane(), L"Напряжение\r\n0.0\r\n3.71\r\n");
  EXPECT_EQ(Content(), "Напряжение\r\n0.0\r\n3.71");
  EXPECT_EQ(Content()[0], '\xCD');
  EXPECT_EQ(probe.got, (Got{"0:NULL", "0:NULL", "0:NULL"}));
}

// The content has no break after a non-empty last line; an added line gets a break before it
// only after a non-empty last line.
TEST_F(MemoTest, AddAtTheBottomContentBreaksAndClear) {
  Make(false);
  EXPECT_EQ(Content(), "");
  Add(StringData("a"));
  Add(IntegerData(42));
  EXPECT_EQ(Pane(), L"a\r\n42");
  EXPECT_EQ(Content(), "a\r\n42");
  memo.LoadText("a\r\nb\r\n");
  EXPECT_EQ(Content(), "a\r\nb");
  Add(StringData("c"));
  EXPECT_EQ(Pane(), L"a\r\nb\r\nc");
  memo.LoadText("a\r\n\r\n");
  EXPECT_EQ(Content(), "a\r\n\r\n");
  memo.LoadText("a\r\r\nb\nc");  // a line ends at CR; a lone LF stays in its line
  EXPECT_EQ(Content(), "a\r\n\r\nb\nc");
  probe.got.clear();
  RaiseEvent(MakeEvent<&TNdWinList::doClear>(&memo, 1));
  EXPECT_EQ(Pane(), L"");
  EXPECT_EQ(probe.got, Got{"0:NULL"});
}

// Past the edit's 30,000-character typing limit an add on top still keeps every line. Wine lays
// the whole pane out again on every write (about 90 ms at 4,000 lines), so the pane starts full.
TEST_F(MemoTest, AddsAtTheTopOfALongPaneKeepEveryLine) {
  Make(true);
  std::string text;
  for (int i = 0; i < 4000; ++i) text += std::to_string(100000 + i) + "\r\n";
  memo.LoadText(text);
  for (int i = 0; i < 20; ++i) Add(StringData("2." + std::to_string(1000 + i)));
  const std::wstring pane = Pane();
  EXPECT_EQ(pane.size(), 8u * 4020);
  EXPECT_EQ(pane.substr(0, 8), L"2.1019\r\n");
  EXPECT_EQ(pane.substr(pane.size() - 8), L"103999\r\n");
}

}  // namespace
