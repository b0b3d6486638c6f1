#include "text_codec.h"

#include <windows.h>

#include <climits>

namespace {
constexpr UINT CodePage1251 = 1251;
}

std::wstring ToWide(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CodePage1251, 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CodePage1251, 0, text.data(), size, wide.data(), needed);
  return wide;
}

std::string FromWide(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CodePage1251, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CodePage1251, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}
