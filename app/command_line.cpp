#include "command_line.h"

#include <type_traits>
#include <utility>

namespace {

// Unsigned, so units 128 and above are above the blanks rather than below them.
template <class Char>
unsigned long UnitAt(const Char* p) {
  return static_cast<std::make_unsigned_t<Char>>(*p);
}

template <class Char>
const Char* SkipBlanks(const Char* p) {
  for (;;) {
    while (UnitAt(p) >= 1 && UnitAt(p) <= 32) ++p;
    // p[1] exists: p[0] is a quote, so the text has not ended at p[0].
    if (p[0] == '"' && p[1] == '"') {
      p += 2;
      continue;
    }
    return p;
  }
}

template <class Char>
const Char* SkipParam(const Char* p) {
  p = SkipBlanks(p);
  while (UnitAt(p) > 32) {
    if (*p == '"') {
      ++p;
      while (*p != '\0' && *p != '"') ++p;
      if (*p == '"') ++p;
    } else {
      ++p;
    }
  }
  return p;
}

// Calls take(parameter) for parameters 0, 1, ... until it returns false or none is left.
template <class Char, class Take>
void ScanParams(const Char* line, Take take) {
  if (line == nullptr) return;
  const Char* p = line;
  for (;;) {
    p = SkipBlanks(p);
    const Char* start = p;
    p = SkipParam(p);
    if (p == start) return;
    std::basic_string<Char> param(start, p);
    if (param.size() >= 2 && param.front() == '"' && param.back() == '"') {
      param = param.substr(1, param.size() - 2);
    }
    if (!take(std::move(param))) return;
  }
}

}  // namespace

AnsiString GetCommandLineParam(const char* commandLine, int index) {
  AnsiString result;
  int current = 0;
  if (index < 0) return result;
  ScanParams(commandLine, [&](AnsiString param) {
    if (current++ < index) return true;
    result = std::move(param);
    return false;
  });
  return result;
}

std::vector<std::wstring> CommandLineParams(const wchar_t* commandLine) {
  std::vector<std::wstring> params;
  bool path = true;
  ScanParams(commandLine, [&](std::wstring param) {
    if (!std::exchange(path, false)) params.push_back(std::move(param));
    return true;
  });
  return params;
}
