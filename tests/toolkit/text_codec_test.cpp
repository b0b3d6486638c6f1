#include <gtest/gtest.h>

#include <string>

#include "text_codec.h"

namespace {

const std::string Voltage1251 = "\xCD\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xE5";
const std::wstring VoltageUtf16 = L"\x041D\x0430\x043F\x0440\x044F\x0436\x0435\x043D\x0438\x0435";

TEST(TextCodecTest, SourceTextsAreCompiledToWindows1251) {
  EXPECT_EQ(std::string("цикл"), "\xF6\xE8\xEA\xEB");
  EXPECT_EQ(std::string("Напряжение"), Voltage1251);
}

TEST(TextCodecTest, CyrillicCrossesBothWays) {
  EXPECT_EQ(ToWide(Voltage1251), VoltageUtf16);
  EXPECT_EQ(FromWide(VoltageUtf16), Voltage1251);
}

TEST(TextCodecTest, ConvertsWithCodePage1251WhateverTheSystemCodePage) {
  EXPECT_EQ(ToWide("\xA8\xB8\xB9\x88"), L"\x0401\x0451\x2116\x20AC");  // Ё ё № €
  EXPECT_EQ(FromWide(L"\x0401\x0451\x2116\x20AC"), "\xA8\xB8\xB9\x88");
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

TEST(TextCodecTest, EmptyAndZeroBytes) {
  EXPECT_EQ(ToWide(""), L"");
  EXPECT_EQ(FromWide(L""), "");
  const std::string withZero("a\0\xF6", 3);
  EXPECT_EQ(ToWide(withZero), std::wstring(L"a\0\x0446", 3));
  EXPECT_EQ(FromWide(ToWide(withZero)), withZero);
}

TEST(TextCodecTest, CharacterOutsideTheCodePageKeepsTheRestInPlace) {
  const std::string narrow = FromWide(L"a\x4E2D\x0446");
  ASSERT_EQ(narrow.size(), 3u);
  EXPECT_EQ(narrow.front(), 'a');
  EXPECT_EQ(narrow.back(), '\xF6');
}

}  // namespace
