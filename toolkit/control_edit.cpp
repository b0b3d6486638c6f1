#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

#include "control.h"
#include "text_codec.h"

namespace {

// Raw EM_LINEINDEX answer: -1 for a line past the last one.
LRESULT RawLineStart(TControl* control, int line) {
  if (!control->Handle || !control->NotifyCodes.LineIndexMsg || line < 0) return -1;
  return SendMessageW(control->Handle, control->NotifyCodes.LineIndexMsg,
                      static_cast<WPARAM>(line), 0);
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace

int TControl::LineCount() {
  if (!Handle || !NotifyCodes.LineCountMsg) return 0;
  return static_cast<int>(SendMessageW(Handle, NotifyCodes.LineCountMsg, 0, 0));
}

int TControl::LineStart(int line) {
  const LRESULT start = RawLineStart(this, line);
  return start < 0 ? 0 : static_cast<int>(start);
}

AnsiString TControl::LineText(int line) {
  if (!Handle || !NotifyCodes.LineLengthMsg || !NotifyCodes.GetLineMsg) return {};
  const LRESULT length =
      SendMessageW(Handle, NotifyCodes.LineLengthMsg, static_cast<WPARAM>(LineStart(line)), 0);
  if (length <= 0) return {};
  // The first word of the buffer carries its size (at most 0xFFFF characters come back); the
  // line arrives without a terminator.
  const std::size_t size = static_cast<std::size_t>(length) + 1;
  std::wstring buffer(size, L'\0');
  buffer[0] = static_cast<wchar_t>(size > 0xFFFF ? 0xFFFF : size);
  const LRESULT copied = SendMessageW(Handle, NotifyCodes.GetLineMsg, static_cast<WPARAM>(line),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  // A line that is not there copies nothing: only what was copied is the line's text.
  const LRESULT kept = copied < length ? copied : length;
  if (kept <= 0) return {};
  return FromWide(std::wstring_view(buffer.data(), static_cast<std::size_t>(kept)));
}

int TControl::SelStart() {
  if (!Handle || !NotifyCodes.GetSelMsg) return 0;
  // The packed return value holds only 16 bits of each position; the out-parameters hold all.
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Handle, NotifyCodes.GetSelMsg, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TControl::SetSelStart(int pos) {
  if (!Handle || !NotifyCodes.SetSelMsg) return;
  SendMessageW(Handle, NotifyCodes.SetSelMsg, static_cast<WPARAM>(pos), static_cast<LPARAM>(pos));
}

void TControl::SetSelLength(int length) {
  if (!Handle || !NotifyCodes.SetSelMsg) return;
  const int start = SelStart();
  const LPARAM end = length < 0 ? -1 : static_cast<LPARAM>(start) + length;
  SendMessageW(Handle, NotifyCodes.SetSelMsg, static_cast<WPARAM>(start), end);
}

void TControl::ReplaceLine(int line, const AnsiString& text) {
  if (!Handle || !NotifyCodes.ReplaceSelMsg) return;
  const LRESULT start = RawLineStart(this, line);
  if (start < 0) return;  // no such line: nothing to replace
  const LRESULT next = RawLineStart(this, line + 1);
  std::wstring expected = WindowText(Handle);
  if (static_cast<std::size_t>(start) > expected.size()) return;
  // The last line has no next line: it runs to the end of the text.
  const LRESULT selected = next < 0 ? -1 : next - start;
  // As for an insert: the edit takes the text up to a NUL, and so must the fallback below,
  // which would otherwise set a whole text cut there.
  std::wstring wide = ToWide(text);
  wide.resize(std::wcslen(wide.c_str()));
  expected.replace(static_cast<std::size_t>(start),
                   next < 0 ? std::wstring::npos : static_cast<std::size_t>(selected), wide);
  SetSelStart(static_cast<int>(start));
  SetSelLength(static_cast<int>(selected));
  SendMessageW(Handle, NotifyCodes.ReplaceSelMsg, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  // EM_REPLACESEL is held to the typing limit (32767 characters on Windows, 30000 under Wine)
  // and refused by a multi-line edit without automatic vertical scrolling once the text has
  // more lines than the pane shows; a refusal may already have removed the old line (Wine
  // even garbles the text around it). The text is then set whole, which nothing refuses.
  if (WindowText(Handle) != expected) SetWindowTextW(Handle, expected.c_str());
}

// Setting the whole text makes the edit lay out every line again (on Wine about 40 us a line);
// a replaced empty selection lays out only what changed. The typing limit holds the insert to
// 30000 characters, so it is lifted for the insert and put back.
void TControl::InsertText(int pos, const AnsiString& text) {
  if (!Handle || !NotifyCodes.SetSelMsg || !NotifyCodes.ReplaceSelMsg) {
    const AnsiString old = GetCaption();
    const std::size_t at = std::min(static_cast<std::size_t>(std::max(pos, 0)), old.size());
    SetCaption(AnsiString(old).insert(at, text));
    return;
  }
  // The edit takes text up to a NUL; expecting more would set the whole text, cut there.
  std::wstring wide = ToWide(text);
  wide.resize(std::wcslen(wide.c_str()));
  const std::size_t before = static_cast<std::size_t>(GetWindowTextLengthW(Handle));
  const std::size_t at = std::min(static_cast<std::size_t>(std::max(pos, 0)), before);
  const std::size_t expected = before + wide.size();
  const LRESULT limit = SendMessageW(Handle, EM_GETLIMITTEXT, 0, 0);
  const bool lift = static_cast<std::size_t>(limit) < expected;
  if (lift) SendMessageW(Handle, EM_SETLIMITTEXT, expected, 0);
  SendMessageW(Handle, NotifyCodes.SetSelMsg, at, at);
  // Like a text set whole, a programmatic insert is no change made in the pane: the edit's
  // change notice, sent while the replacement runs, is not passed on.
  const TNotifyEvent onChange = std::exchange(OnChange, TNotifyEvent{});
  SendMessageW(Handle, NotifyCodes.ReplaceSelMsg, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  OnChange = onChange;
  if (lift) SendMessageW(Handle, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  // Only the length is read back: an insert into an empty selection goes in whole, in part (the
  // pane ran out of room) or not at all. When it falls short, as ReplaceLine's replacement can,
  // the text is set whole, with what went in of it taken out first.
  const std::size_t after = static_cast<std::size_t>(GetWindowTextLengthW(Handle));
  if (after == expected) return;
  std::wstring whole = WindowText(Handle);
  if (after > before) whole.erase(at, std::min(after - before, wide.size()));
  whole.insert(std::min(at, whole.size()), wide);
  SetWindowTextW(Handle, whole.c_str());
}

void TControl::AppendText(const AnsiString& text) {
  SetCaption(GetCaption() + text);
}

void TControl::ClearText() {
  SetCaption(AnsiString());
}
