#pragma once
// String editing: TNdInsert puts a text into a string, TNdDelete cuts a run out of one.
// A property with an input's name is that input's default; the input itself carries the
// suffix Input (the same scheme in every element).

#include <cstdint>

#include "data.h"
#include "event.h"
#include "object.h"

// Positions are 1-based; out-of-range positions are clamped, as the elements define.
AnsiString InsertText(const AnsiString& dest, const AnsiString& text, std::int32_t position);
AnsiString DeleteText(const AnsiString& source, std::int32_t position, std::int32_t count);

class TNdInsert : public TObject {
public:
  AnsiString Str;
  AnsiString SubStr;
  std::int32_t Position = 0;

  TNd_Event StrInput;
  TNd_Event SubStrInput;
  TNd_Event PositionInput;
  TNd_Event onInsert;

  void doInsert(TData& data, std::uint16_t index);
};

class TNdDelete : public TObject {
public:
  std::int32_t Position = 0;
  std::int32_t Count = 0;

  TNd_Event StrInput;  // no property default: the arriving value is used
  TNd_Event PositionInput;
  TNd_Event CountInput;
  TNd_Event onDelete;

  void doDelete(TData& data, std::uint16_t index);
};
