#include "ini_file.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "convert.h"
#include "text_codec.h"

namespace {

// The platform's limits: no profile value and no extended-length path is longer.
constexpr DWORD MaxTextLength = 32768;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The platform writes a file in the system's ANSI code page unless the file already is UTF-16;
// wherever that code page is not 1251, Cyrillic names and values would come back as question
// marks. So a new file starts as UTF-16. A name without a folder is left alone: the platform
// looks for it in the Windows folder, not where CreateFileW would put it.
void StartUnicodeFile(const std::wstring& file) {
  if (file.find_first_of(L"\\/") == std::wstring::npos) return;
  const HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return;  // it exists already, or cannot be made at all
  const FileHandle handle(created);
  static const unsigned char byteOrderMark[] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(handle.get(), byteOrderMark, sizeof byteOrderMark, &written, nullptr);
}

}  // namespace

TIniFile* CreateIniFile(const AnsiString& fileName) {
  TIniFile* ini = new TIniFile();
  ini->FileName = fileName;
  return ini;
}

std::int32_t TIniFile::ExchangeInteger(const AnsiString& key, std::int32_t value) {
  const std::wstring section = ToWide(Section);
  const std::wstring name = ToWide(key);
  const std::wstring file = ToWide(FileName);
  if (Writing) {
    StartUnicodeFile(file);
    WritePrivateProfileStringW(section.c_str(), name.c_str(), ToWide(IntToStr(value)).c_str(),
                               file.c_str());
    return value;
  }
  return static_cast<std::int32_t>(
      GetPrivateProfileIntW(section.c_str(), name.c_str(), value, file.c_str()));
}

AnsiString TIniFile::ExchangeString(const AnsiString& key, const AnsiString& value) {
  const std::wstring section = ToWide(Section);
  const std::wstring name = ToWide(key);
  const std::wstring file = ToWide(FileName);
  const std::wstring text = ToWide(value);
  if (Writing) {
    StartUnicodeFile(file);
    WritePrivateProfileStringW(section.c_str(), name.c_str(), text.c_str(), file.c_str());
    return value;
  }
  // A value that fills the buffer up to the last character may have been cut: retry larger.
  for (DWORD size = 256;; size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD length = GetPrivateProfileStringW(section.c_str(), name.c_str(), text.c_str(),
                                                  buffer.data(), size, file.c_str());
    if (length + 1 < size || size >= MaxTextLength) {
      buffer.resize(length);
      return FromWide(buffer);
    }
  }
}

AnsiString TIniFile::ProgramDirectory() {
  for (DWORD size = MAX_PATH + 1;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    // A path that fills the whole buffer was cut (and, on older systems, not terminated).
    if (length >= size) {
      if (size >= MaxTextLength) return {};
      continue;
    }
    path.resize(length);
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return {};
    path.resize(slash + 1);
    return FromWide(path);
  }
}
