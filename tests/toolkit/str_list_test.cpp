#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "str_list.h"

namespace {

using StrListPtr = TOwned<TStrList>;
using Lines = std::vector<std::string>;

Lines LinesOf(const TStrList& list) {
  Lines lines;
  for (std::int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.Items(i));
  return lines;
}

TEST(StrListTest, SetTextEndsLinesAtCrOnly) {
  const std::pair<std::string, Lines> cases[] = {
      {"a\r\nb", {"a", "b"}},         {"a\nb", {"a\nb"}},
      {"a\rb\r", {"a", "b"}},         {"a\r\n", {"a"}},
      {"a\r\n\r\nb", {"a", "", "b"}}, {"\r\r\n", {"", ""}},
      {"\r\n\n", {"", "\n"}},         {"a\n\rb", {"a\n", "b"}},
      {"", {}},
      {std::string("\xF6\0x\r\n\0", 6), {std::string("\xF6\0x", 3), std::string(1, '\0')}},
  };
  StrListPtr list(CreateStrList());
  for (const auto& [text, lines] : cases) {
    list->SetText(text, false);
    EXPECT_EQ(LinesOf(*list), lines) << ::testing::PrintToString(text);
  }
}

TEST(StrListTest, TextEndsEveryLineWithCrLfAndSplitsBackTheSame) {
  StrListPtr list(CreateStrList());
  EXPECT_EQ(list->Text(), "");
  for (const char* line : {"a", "", "b"}) list->Add(line);
  EXPECT_EQ(list->Text(), "a\r\n\r\nb\r\n");
  StrListPtr copy(CreateStrList());
  copy->SetText(list->Text(), false);
  EXPECT_EQ(LinesOf(*copy), LinesOf(*list));
  copy->SetText("c\r\nd", true);
  EXPECT_EQ(LinesOf(*copy), (Lines{"a", "", "b", "c", "d"})) << "appended on request";
}

TEST(StrListTest, EditingIgnoresOrClampsIndexesOutOfRange) {
  StrListPtr list(CreateStrList());
  EXPECT_EQ(list->Items(0), "");
  list->Add("b");
  list->Insert(0, "a");
  list->Insert(99, "z");
  list->Insert(-1, "0");
  list->Insert(2, "x");
  EXPECT_EQ(LinesOf(*list), (Lines{"0", "a", "x", "b", "z"}));
  list->Delete(2);
  list->Delete(-1);
  list->Delete(list->Count());
  EXPECT_EQ(LinesOf(*list), (Lines{"0", "a", "b", "z"}));
  EXPECT_EQ(list->Items(-1), "");
  EXPECT_EQ(list->Items(4), "");
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}

}  // namespace
