#pragma once
// A list of text lines (Windows-1251 bytes). Lines are kept whole: a zero byte inside a line is
// part of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data.h"
#include "obj.h"

class TStrList : public TObj {
public:
  std::int32_t Count() const { return static_cast<std::int32_t>(lines.size()); }

  void Add(std::string_view text);
  // Like TList::Insert, an index out of range goes to the nearest end.
  void Insert(std::int32_t index, std::string_view text);
  void Delete(std::int32_t index);  // out of range: nothing
  void Clear();

  AnsiString Items(std::int32_t index) const;  // the empty string out of range

  // Every line followed by CR LF, the last one too.
  AnsiString Text() const;
  // A line ends at CR, and an LF right after that CR belongs to the break; a lone LF stays in
  // its line. A rest without a final CR is the last line; an empty text adds no line.
  void SetText(std::string_view text, bool append);

protected:
  TStrList() = default;
  ~TStrList() override = default;

private:
  friend TStrList* CreateStrList();

  std::vector<AnsiString> lines;
};

TStrList* CreateStrList();
