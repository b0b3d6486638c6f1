#include "control.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Lines without word wrap and without automatic vertical scrolling.
struct EditPane {
  TOwned<TControl> form{CreateFormControl(nullptr, "edit lines")};
  TControl* edit = CreateEditControl(form.get(), eoMultiline | eoNoVScroll);
  EditPane() { edit->EnsureWindow(); }
};

TEST(EditLines, ReadAndReplaceLines) {
  EditPane pane;
  pane.edit->SetCaption("a\r\n\r\nccc");
  EXPECT_EQ(pane.edit->LineCount(), 3);
  EXPECT_EQ(pane.edit->LineStart(2), 5);
  EXPECT_EQ(pane.edit->LineStart(7), 0);
  EXPECT_EQ(pane.edit->LineText(1), "");
  EXPECT_EQ(pane.edit->LineText(2), "ccc");
  EXPECT_EQ(pane.edit->LineText(7), "");
  pane.edit->ReplaceLine(0, "x\r\n");  // the line break goes with the line
  pane.edit->ReplaceLine(2, "last");   // the last line is replaced, not prefixed
  pane.edit->ReplaceLine(5, "nowhere");
  EXPECT_EQ(pane.edit->GetCaption(), "x\r\n\r\nlast");
  // The edit takes a line up to its NUL; the lines after it stay.
  pane.edit->SetCaption("x\r\ny\r\nz");
  pane.edit->ReplaceLine(0, std::string("a\0b\r\n", 5));
  EXPECT_EQ(pane.edit->GetCaption(), "ay\r\nz");
}

// Far beyond the typing limit and the pane's height, where the platform refuses EM_REPLACESEL.
TEST(EditLines, PositionsBeyond65536AreExactAndReplacedLinesAreKept) {
  EditPane pane;
  auto line = [](int i) { return std::string(79, static_cast<char>('a' + i % 26)); };
  std::string text;
  for (int i = 0; i < 1000; ++i) text += line(i) + "\r\n";
  pane.edit->SetCaption(text);
  ASSERT_EQ(pane.edit->LineStart(900), 900 * 81);
  pane.edit->SetSelStart(72905);
  EXPECT_EQ(pane.edit->SelStart(), 72905);
  pane.edit->ReplaceLine(900, "changed\r\n");
  EXPECT_EQ(pane.edit->LineText(899), line(899));
  EXPECT_EQ(pane.edit->LineText(900), "changed");
  EXPECT_EQ(pane.edit->LineText(901), line(901));
  EXPECT_EQ(pane.edit->LineCount(), 1001);
}

// A long text in front of which lines go one by one, in a pane that scrolls and in one that
// refuses replacements beyond its height; the typing limit is the user's and stays.
TEST(EditLines, InsertedTextLandsWholeAtItsPositionBeyondTheTypingLimit) {
  for (const std::uint32_t scrolling : {0u, eoNoVScroll}) {
    TOwned<TControl> form{CreateFormControl(nullptr, "insert")};
    TControl* edit = CreateEditControl(form.get(), eoMultiline | scrolling);
    edit->EnsureWindow();
    std::string text;
    for (int i = 0; i < 1000; ++i) text += std::string(40, static_cast<char>('a' + i % 26)) + "\r\n";
    edit->SetCaption(text);
    const LRESULT limit = SendMessageW(edit->Handle, EM_GETLIMITTEXT, 0, 0);
    for (int i = 0; i < 3; ++i) {
      const std::string line = "1.40" + std::to_string(i) + "\r\r\n";
      edit->InsertText(0, line);
      text.insert(0, line);
    }
    edit->InsertText(3 * 8 + 41, "mid");
    text.insert(3 * 8 + 41, "mid");
    edit->InsertText(1 << 30, "end");
    text += "end";
    EXPECT_EQ(edit->GetCaption(), text) << "scrolling option " << scrolling;
    EXPECT_EQ(SendMessageW(edit->Handle, EM_GETLIMITTEXT, 0, 0), limit);
  }
}

TEST(EditLines, EveryByteOtherThanLineBreaksComesBackUnchanged) {
  EditPane pane;
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n' && b != 0x98) bytes += static_cast<char>(b);
  pane.edit->SetCaption(bytes + "\r\nцикл");
  EXPECT_EQ(pane.edit->LineText(0), bytes);
  EXPECT_EQ(pane.edit->LineText(1), "\xF6\xE8\xEA\xEB");
}

}  // namespace
