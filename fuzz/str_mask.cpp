// The string mask (MatchMask and the TNdStrMask element): any pattern against any text, with
// and without IgnoreCase, must end quickly and agree with a plain memoised recursive search
// written from str_mask.h and cp1251.h.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cp1251.h"
#include "event.h"
#include "fuzz_support.h"
#include "str_mask.h"

using fuzz::Show;

namespace {

// cp1251.h: the pairs it lists, every other byte as it is.
char ReferenceLower(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDF) return static_cast<char>(b + 32);
  static const unsigned char pairs[][2] = {
      {0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
      {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xAA, 0xBA},
      {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
  };
  for (const auto& pair : pairs)
    if (b == pair[0]) return static_cast<char>(pair[1]);
  return c;
}

// str_mask.h: whole-string match; '#' one digit, '?' any one byte (0 too), '*' any run, the
// empty one too; everything else itself.
class Reference {
public:
  Reference(const std::string& text, const std::string& mask)
      : text_(text), mask_(mask), memo_((text.size() + 1) * (mask.size() + 1), 0) {}
  bool Match() { return At(0, 0); }

private:
  bool At(std::size_t i, std::size_t j) {
    std::int8_t& m = memo_[i * (mask_.size() + 1) + j];
    if (m == 0) m = Search(i, j) ? 1 : -1;
    return m == 1;
  }
  bool Search(std::size_t i, std::size_t j) {
    if (j == mask_.size()) return i == text_.size();
    const char p = mask_[j];
    if (p == '*') return At(i, j + 1) || (i < text_.size() && At(i + 1, j));
    if (i == text_.size()) return false;
    const char c = text_[i];
    const bool one = p == '#' ? c >= '0' && c <= '9' : p == '?' ? true : p == c;
    return one && At(i + 1, j + 1);
  }
  const std::string& text_;
  const std::string& mask_;
  std::vector<std::int8_t> memo_;
};

class TProbe : public TObject {
public:
  std::vector<TData> Received;
  void doReceive(TData& data, std::uint16_t) { Received.push_back(data); }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallDispatchers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint8_t ignoreCase = in.ConsumeIntegral<std::uint8_t>() % 3;  // 0, 1 or 2
  const std::string mask = in.ConsumeRandomLengthString();
  const std::string text = in.ConsumeRemainingBytesAsString();

  const bool matched = MatchMask(text, mask);
  bool expected;
  std::string lowText = text, lowMask = mask;
  if (ignoreCase == 1) {
    for (char& c : lowText) c = ReferenceLower(c);
    for (char& c : lowMask) c = ReferenceLower(c);
  }
  // The lower-casing the element uses, byte for byte.
  const std::string both = mask + text;
  AnsiString productLow = both, referenceLow = both;
  Cp1251LowerInPlace(productLow);
  for (char& c : referenceLow) c = ReferenceLower(c);
  FUZZ_CHECK(productLow == referenceLow, "lower-cased " + Show(both) + " as " + Show(productLow));
  if (text.size() <= 2048 && mask.size() <= 128) {
    expected = Reference(text, mask).Match();
    FUZZ_CHECK(matched == expected, "mask " + Show(mask) + " text " + Show(text));
  }

  // Through the element: exactly one output gets the text, unchanged.
  TNdStrMask element;
  element.Mask = mask;
  element.IgnoreCase = ignoreCase;
  TProbe yes, no;
  element.onMatch = MakeEvent<&TProbe::doReceive>(&yes, 0);
  element.onNoMatch = MakeEvent<&TProbe::doReceive>(&no, 0);
  RaiseString(MakeEvent<&TNdStrMask::doCheck>(&element, 0), text);
  const std::string what = "mask " + Show(mask) + " text " + Show(text) + " IgnoreCase " +
                           std::to_string(ignoreCase);
  FUZZ_CHECK(yes.Received.size() + no.Received.size() == 1, what);
  const TData& got = yes.Received.empty() ? no.Received[0] : yes.Received[0];
  FUZZ_CHECK(got.DataType == dtString && got.StrValue == text, what);
  if (lowText.size() <= 2048 && lowMask.size() <= 128) {
    expected = Reference(lowText, lowMask).Match();
    FUZZ_CHECK(!yes.Received.empty() == expected, what);
  }
  return 0;
}
