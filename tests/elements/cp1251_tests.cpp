#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "cp1251.h"

namespace {

TEST(Cp1251Lower, EveryByteValue) {
  std::uint8_t expected[256];
  for (int b = 0; b < 256; ++b) expected[b] = static_cast<std::uint8_t>(b);
  for (int b = 'A'; b <= 'Z'; ++b) expected[b] = static_cast<std::uint8_t>(b - 'A' + 'a');
  for (int b = 0xC0; b <= 0xDF; ++b) expected[b] = static_cast<std::uint8_t>(b + 0x20);
  const std::uint8_t pairs[][2] = {{0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A},
                                   {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
                                   {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xAA, 0xBA},
                                   {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  for (const auto& p : pairs) expected[p[0]] = p[1];
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(static_cast<std::uint8_t>(Cp1251Lower(static_cast<char>(b))), expected[b])
        << "byte " << b;
}

TEST(Cp1251Lower, WholeTextPastAByteZero) {
  std::string text("\xD7\xDF\xA8Z\0A", 6);  // ЧЯЁZ, byte 0, A
  Cp1251LowerInPlace(text);
  EXPECT_EQ(text, std::string("\xF7\xFF\xB8z\0a", 6));
}

}  // namespace
