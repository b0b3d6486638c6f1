#pragma once
// The one crossing between the program's Windows-1251 texts and the platform's UTF-16.
// Converting with code page 1251 explicitly shows Cyrillic whatever the system's ANSI code page.

#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text);
std::string FromWide(std::wstring_view text);
