#include "str_mask.h"

#include "cp1251.h"

namespace {

bool MatchesOne(char maskChar, char textChar) {
  switch (maskChar) {
    case '#': return textChar >= '0' && textChar <= '9';
    case '?': return true;
    default: return maskChar == textChar;
  }
}

}  // namespace

// Shortest run first for each star, backtracking only to the most recent star: any run an
// earlier star could still take is covered by the later star's runs, so the result equals the
// full recursive search, in O(text * mask) steps and constant stack instead of exponential time.
bool MatchMask(std::string_view text, std::string_view mask) {
  constexpr std::size_t noStar = std::string_view::npos;
  std::size_t i = 0;
  std::size_t j = 0;
  std::size_t starJ = noStar;
  std::size_t starI = 0;
  while (i < text.size()) {
    if (j < mask.size() && mask[j] == '*') {
      starJ = j++;
      starI = i;
    } else if (j < mask.size() && MatchesOne(mask[j], text[i])) {
      ++i;
      ++j;
    } else if (starJ != noStar) {
      j = starJ + 1;
      i = ++starI;
    } else {
      return false;
    }
  }
  while (j < mask.size() && mask[j] == '*') ++j;
  return j == mask.size();
}

void TNdStrMask::doCheck(TData& data, std::uint16_t) {
  const AnsiString text = ReadString(data, StrInput, AnsiString());
  bool matched;
  if (IgnoreCase == 1) {
    AnsiString lowText = text;
    AnsiString lowMask = Mask;
    Cp1251LowerInPlace(lowText);
    Cp1251LowerInPlace(lowMask);
    matched = MatchMask(lowText, lowMask);
  } else {
    matched = MatchMask(text, Mask);
  }
  DeferString(data, matched ? onMatch : onNoMatch, text);
}
