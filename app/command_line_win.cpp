#include "command_line_win.h"

#include <windows.h>

#include <string>

#include "command_line.h"
#include "text_codec.h"

AnsiString GetCommandLineParam(int index) {
  if (index == 0) {
    std::wstring path(261, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return FromWide(path);
  }
  // The line is scanned as 1251 bytes, the program's own text form.
  const AnsiString line = FromWide(GetCommandLineW());
  return GetCommandLineParam(line.c_str(), index);
}

std::vector<std::wstring> StartParams() { return CommandLineParams(GetCommandLineW()); }
