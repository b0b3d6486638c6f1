#include "memo.h"

#include <utility>

namespace {

constexpr char LineBreak[] = "\r\n";

}  // namespace

void TNdWinList::doAdd(TData& data, std::uint16_t) {
  const AnsiString text = ReadString(data, Str, "");
  if (!Control) return;
  if (AddToTop) {
    // An edit holds no NUL character: a line shows what stands before one (a reply off a bad
    // line may carry it), and the lines below stay.
    Control->InsertText(0, text.substr(0, text.find('\0')) + LineBreak);
    // Where a text set whole leaves it: at the start, nothing selected.
    Control->SetSelStart(0);
  } else {
    AddLine(text);
  }
  // Selecting the added item and attaching data to it need a list control's item messages,
  // which an edit lacks; ItemData is still pulled, since a linked source expects the read.
  ReadData(data, ItemData, nullptr);
  DeferEvent(data, onChange);
}

void TNdWinList::doClear(TData& data, std::uint16_t) {
  if (Control) Control->ClearText();
  DeferEvent(data, onChange);
}

void TNdWinList::Content(TData& data, std::uint16_t) {
  TOwned<TStrList> lines{CreateStrList()};
  CollectLines(lines.get());
  AnsiString text = lines->Text();
  const std::int32_t count = lines->Count();
  if (count > 0 && !lines->Items(count - 1).empty()) text.resize(text.size() - 2);
  MakeString(data, std::move(text));
}

void TNdMemo::Init() {
  if (!Control) {
    std::uint32_t options = eoNoHScroll | eoNoVScroll | eoMultiline | eoNoHideSel;
    if (ScrollBars == 1 || ScrollBars == 3) options &= ~eoNoHScroll;
    if (ScrollBars == 2 || ScrollBars == 3) options &= ~eoNoVScroll;
    if (!Editable) options |= eoReadonly;
    Control = CreateEditControl(ParentControl, options);
    Control->OnChange = MakeMethod<&TNdMemo::Changed, TObj*>(this);
    if (FrameStyle == frSunken) Control->SetStyle(Control->Style & ~WS_BORDER);
  }
  TNdWin::Init();
  if (Control) Control->SetCaption(Text);
}

void TNdMemo::CollectLines(TStrList* lines) {
  if (Control) lines->SetText(Control->GetCaption(), false);
}

void TNdMemo::LoadText(const AnsiString& text) {
  if (Control) Control->SetCaption(text);
}

// The break and the line go in with one write.
int TNdMemo::AddLine(const AnsiString& text) {
  if (!Control) return 0;
  const int count = Control->LineCount();
  if (count > 0 && !Control->LineText(count - 1).empty())
    Control->AppendText(LineBreak + text);
  else
    Control->AppendText(text);
  return 0;
}

// The last line has no next line to stop at: its selection runs to the end of the text.
void TNdMemo::SelectLine(int index) {
  if (!Control) return;
  const int count = Control->LineCount();
  if (index < 0 || index >= count) return;
  const int start = Control->LineStart(index);
  Control->SetSelStart(start);
  Control->SetSelLength(index + 1 < count ? Control->LineStart(index + 1) - start : -1);
}

// Replacing a line takes its break with it, so every line but the last brings its own; the
// line shows what stands before a NUL, as an added one does.
void TNdMemo::ReplaceLine(TData& index, TData& text) {
  if (!Control) return;
  const int line = ToIndex(index);
  const int count = Control->LineCount();
  if (line < 0 || line >= count) return;
  const AnsiString whole = ToStr(text);
  const AnsiString shown = whole.substr(0, whole.find('\0'));
  Control->ReplaceLine(line, line + 1 < count ? shown + LineBreak : shown);
}

// Reading the whole text is the costly part, and an unlinked output would only drop it.
void TNdMemo::Changed(TObj*) {
  if (onChange.Code && Control) RaiseString(onChange, Control->GetCaption());
}
