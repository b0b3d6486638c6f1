#include "start_switches.h"

#include <iterator>

namespace {

constexpr int HighestPort = 256;

using TValue = std::optional<std::wstring>;  // empty when the switch has no value

// A switch takes its value into the choices, or refuses the start.
using TApply = std::optional<TStartRefusal> (*)(const TValue& value, TStartChoices& choices);

std::optional<TStartRefusal> ApplyPort(const TValue& value, TStartChoices& choices) {
  choices.PortNumber = value ? ParsePortNumber(*value) : 0;
  if (choices.PortNumber != 0) return std::nullopt;
  return TStartRefusal{"Порт", "Неверный порт: ", value.value_or(std::wstring())};
}

std::optional<TStartRefusal> ApplyLog(const TValue& value, TStartChoices& choices) {
  if (!value) return TStartRefusal{"Журнал", "Не указан файл журнала", {}};
  choices.LogPath = *value;
  return std::nullopt;
}

struct TSwitch {
  const wchar_t* Name;
  TApply Apply;  // null: a switch of its own road, here only so that it is never a value
};

// A new switch is one row and one function.
constexpr TSwitch Switches[] = {
    {L"/port", ApplyPort},
    {L"/log", ApplyLog},
    {L"/ih", nullptr},
};
constexpr std::size_t SwitchCount = std::size(Switches);

// The row of a parameter that names a switch; SwitchCount for any other parameter. Exact, as
// "/ih" is compared.
std::size_t SwitchOf(const std::wstring& param) {
  std::size_t row = 0;
  while (row < SwitchCount && param != Switches[row].Name) ++row;
  return row;
}

}  // namespace

int ParsePortNumber(const std::wstring& text) {
  std::size_t at = 0;
  if (text.size() >= 3 && (text[0] | 0x20) == L'c' && (text[1] | 0x20) == L'o' &&
      (text[2] | 0x20) == L'm') {
    at = 3;
  }
  if (at == text.size()) return 0;
  int number = 0;
  for (; at < text.size(); ++at) {
    const wchar_t c = text[at];
    if (c < L'0' || c > L'9') return 0;
    number = number * 10 + (c - L'0');
    // Leading zeros stay harmless; anything this large is out of range already.
    if (number > HighestPort) return 0;
  }
  return number;
}

std::optional<TStartRefusal> ReadStartSwitches(const std::vector<std::wstring>& params,
                                               TStartChoices& choices) {
  bool given[SwitchCount] = {};
  TValue values[SwitchCount];
  for (std::size_t i = 0; i < params.size(); ++i) {
    const std::size_t row = SwitchOf(params[i]);
    if (row == SwitchCount || !Switches[row].Apply) continue;
    given[row] = true;
    values[row].reset();
    if (i + 1 < params.size() && SwitchOf(params[i + 1]) == SwitchCount) values[row] = params[++i];
  }
  // Every value is weighed only once the last of each switch is known.
  for (std::size_t row = 0; row < SwitchCount; ++row) {
    if (!given[row]) continue;
    if (auto refusal = Switches[row].Apply(values[row], choices)) return refusal;
  }
  return std::nullopt;
}
