#include "cp1251.h"

#include <array>
#include <cstdint>

namespace {

struct Pair {
  std::uint8_t upper;
  std::uint8_t lower;
};

constexpr Pair ExtraPairs[] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

constexpr std::array<std::uint8_t, 256> MakeTable() {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>(b);
  for (int b = 'A'; b <= 'Z'; ++b) table[b] = static_cast<std::uint8_t>(b + 0x20);
  for (int b = 0xC0; b <= 0xDF; ++b) table[b] = static_cast<std::uint8_t>(b + 0x20);
  for (const Pair& p : ExtraPairs) table[p.upper] = p.lower;
  return table;
}

constexpr std::array<std::uint8_t, 256> LowerTable = MakeTable();

}  // namespace

char Cp1251Lower(char c) {
  return static_cast<char>(LowerTable[static_cast<std::uint8_t>(c)]);
}

void Cp1251LowerInPlace(AnsiString& text) {
  for (char& c : text) c = Cp1251Lower(c);
}
