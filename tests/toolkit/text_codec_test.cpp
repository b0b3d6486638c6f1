#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "text_codec.h"

namespace {

TEST(TextCodecTest, SourceTextsAreWindows1251AndCrossWithItWhateverTheSystemCodePage) {
  const std::string voltage = "Напряжение";
  EXPECT_EQ(voltage, "\xCD\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xE5");
  const std::pair<std::string, std::wstring> cases[] = {
      {voltage, L"\x041D\x0430\x043F\x0440\x044F\x0436\x0435\x043D\x0438\x0435"},
      {"\xA8\xB8\xB9\x88", L"\x0401\x0451\x2116\x20AC"},  // Ё ё № €
      {"", L""},
      {std::string("a\0\xF6", 3), std::wstring(L"a\0\x0446", 3)},
  };
  for (const auto& [narrow, wide] : cases) {
    EXPECT_EQ(ToWide(narrow), wide);
    EXPECT_EQ(FromWide(wide), narrow);
  }
}

TEST(TextCodecTest, EveryDefinedByteRoundTrips) {
  std::string all;
  for (int value = 1; value <= 255; ++value) {
    if (value == 0x98) continue;  // no character in Windows-1251
    const std::string byte(1, static_cast<char>(value));
    const std::wstring wide = ToWide(byte);
    ASSERT_EQ(wide.size(), 1u) << "byte " << value;
    EXPECT_EQ(FromWide(wide), byte) << "byte " << value;
    all += byte;
  }
  EXPECT_EQ(FromWide(ToWide(all)), all);
}

TEST(TextCodecTest, CharacterOutsideTheCodePageKeepsTheRestInPlace) {
  const std::string narrow = FromWide(L"a\x4E2D\x0446");
  ASSERT_EQ(narrow.size(), 3u);
  EXPECT_EQ(narrow.front(), 'a');
  EXPECT_EQ(narrow.back(), '\xF6');
}

}  // namespace
