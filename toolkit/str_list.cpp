#include "str_list.h"

#include <algorithm>

TStrList* CreateStrList() { return new TStrList(); }

void TStrList::Add(std::string_view text) { Insert(Count(), text); }

void TStrList::Insert(std::int32_t index, std::string_view text) {
  index = std::clamp(index, std::int32_t{0}, Count());
  lines.emplace(lines.begin() + index, text);
}

void TStrList::Delete(std::int32_t index) {
  if (index < 0 || index >= Count()) return;
  lines.erase(lines.begin() + index);
}

void TStrList::Clear() { lines.clear(); }

AnsiString TStrList::Items(std::int32_t index) const {
  if (index < 0 || index >= Count()) return {};
  return lines[static_cast<std::size_t>(index)];
}

AnsiString TStrList::Text() const {
  std::size_t size = 0;
  for (const AnsiString& line : lines) size += line.size() + 2;
  AnsiString text;
  text.reserve(size);
  for (const AnsiString& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TStrList::SetText(std::string_view text, bool append) {
  if (!append) Clear();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      return;
    }
    lines.emplace_back(text.substr(start, cr - start));
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}
