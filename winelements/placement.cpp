#include "placement.h"

#include <windows.h>

#include <cstdint>

#include "ini_file.h"
#include "text_codec.h"

namespace {

constexpr const char* IniMark = ".ini\\";
constexpr std::size_t IniMarkLength = 5;

class TRegKey {
public:
  TRegKey() = default;
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  ~TRegKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

std::wstring SubKey(const AnsiString& saveKey) { return L"Software\\" + ToWide(saveKey); }

void SetDword(HKEY key, const wchar_t* name, int value) {
  const auto data = static_cast<DWORD>(value);
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// Only a genuine 4-byte REG_DWORD counts: a value of another type left under the key (a text
// typed in by hand, say) must not be read as a coordinate.
bool QueryDword(HKEY key, const wchar_t* name, int& value) {
  DWORD type = REG_DWORD;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = static_cast<std::int32_t>(data);
  return true;
}

}  // namespace

void RegistryPlacement(TControl* control, const AnsiString& saveKey, bool save) {
  TRegKey key;
  const std::wstring subKey = SubKey(saveKey);
  if (save) {
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, key.Out(), &disposition) != ERROR_SUCCESS)
      return;
    SetDword(key.Get(), L"Left", control->Left());
    SetDword(key.Get(), L"Top", control->Top());
    SetDword(key.Get(), L"Height", control->Height());
    SetDword(key.Get(), L"Width", control->Width());
    return;
  }
  if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
    return;
  int value = 0;
  if (QueryDword(key.Get(), L"Left", value)) control->SetPosition(value, control->Top());
  if (QueryDword(key.Get(), L"Top", value)) control->SetPosition(control->Left(), value);
  if (QueryDword(key.Get(), L"Height", value)) control->SetSize(0, value);
  if (QueryDword(key.Get(), L"Width", value)) control->SetSize(value, 0);
}

void IniPlacement(TControl* control, const AnsiString& saveKey, bool save) {
  const std::size_t mark = saveKey.find(IniMark);
  if (mark == AnsiString::npos) return;
  // Without the program's folder a bare file name would land in the Windows folder.
  const AnsiString folder = TIniFile::ProgramDirectory();
  if (folder.empty()) return;
  TOwned<TIniFile> ini(CreateIniFile(folder + saveKey.substr(0, mark + 4)));
  ini->Section = saveKey.substr(mark + IniMarkLength);
  ini->Writing = save;
  control->SetPosition(ini->ExchangeInteger("Left", control->Left()), control->Top());
  control->SetPosition(control->Left(), ini->ExchangeInteger("Top", control->Top()));
  control->SetSize(ini->ExchangeInteger("Width", control->Width()), 0);
  control->SetSize(0, ini->ExchangeInteger("Height", control->Height()));
}

TPlacement ChoosePlacement(const AnsiString& saveKey) {
  if (saveKey.empty()) return nullptr;
  if (saveKey.find(IniMark) != AnsiString::npos) return IniPlacement;
  return RegistryPlacement;
}
