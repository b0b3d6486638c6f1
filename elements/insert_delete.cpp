#include "insert_delete.h"

AnsiString InsertText(const AnsiString& dest, const AnsiString& text, std::int32_t position) {
  if (text.empty()) return dest;
  // 64-bit so that a length near the 32-bit limit cannot wrap the clamping.
  std::int64_t pos = position;
  const auto length = static_cast<std::int64_t>(dest.size());
  if (pos < 1) pos = 1;
  if (pos > length) pos = length + 1;
  AnsiString result = dest;
  result.insert(static_cast<std::size_t>(pos - 1), text);
  return result;
}

AnsiString DeleteText(const AnsiString& source, std::int32_t position, std::int32_t count) {
  const auto length = static_cast<std::int64_t>(source.size());
  if (position < 1 || position > length || count < 1) return source;
  const std::int64_t available = length - position + 1;
  const std::int64_t n = count < available ? count : available;
  AnsiString result = source;
  result.erase(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(n));
  return result;
}

void TNdInsert::doInsert(TData& data, std::uint16_t) {
  const AnsiString dest = ReadString(data, StrInput, Str);
  if (dest.empty()) return;
  const AnsiString text = ReadString(data, SubStrInput, SubStr);
  const std::int32_t pos = ReadInteger(data, PositionInput, Position);
  DeferString(data, onInsert, InsertText(dest, text, pos));
}

void TNdDelete::doDelete(TData& data, std::uint16_t) {
  const AnsiString source = ReadString(data, StrInput, AnsiString());
  if (source.empty()) return;
  const std::int32_t pos = ReadInteger(data, PositionInput, Position);
  const std::int32_t n = ReadInteger(data, CountInput, Count);
  RaiseString(onDelete, DeleteText(source, pos, n));
}
