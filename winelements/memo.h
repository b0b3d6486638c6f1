#pragma once
// List-like windowed elements: the line inputs (add, clear), the change event and the whole
// content as one text; and the memo, a multi-line edit pane whose lines are runs of text
// separated by CR LF.

#include <cstdint>

#include "data.h"
#include "event.h"
#include "str_list.h"
#include "win_element.h"

class TNdWinList : public TNdWin {
public:
  using TNdWin::TNdWin;

  // The line operations each list-like control implements in its own way.
  virtual void CollectLines(TStrList* lines) = 0;
  virtual void LoadText(const AnsiString& text) = 0;
  virtual int AddLine(const AnsiString& text) = 0;  // the added item's index
  virtual void SelectLine(int index) = 0;
  virtual void ReplaceLine(TData& index, TData& text) = 0;

  void doAdd(TData& data, std::uint16_t index);            // point 0
  virtual void doClear(TData& data, std::uint16_t index);  // point 1
  // Data source: every line as one String, without a break after a non-empty last line.
  void Content(TData& data, std::uint16_t index);

  bool AddToTop = false;
  bool SelectAdded = false;
  TNd_Event Str;       // pulled: the text to add; unlinked means the incoming value
  TNd_Event ItemData;  // pulled: an integer for the added item of a list control
  TNd_Event onChange;
};

class TNdMemo : public TNdWinList {
public:
  using TNdWinList::TNdWinList;

  void Init() override;  // makes the edit control, then the base Init, then Text

  void CollectLines(TStrList* lines) override;
  void LoadText(const AnsiString& text) override;
  int AddLine(const AnsiString& text) override;  // 0
  void SelectLine(int index) override;
  void ReplaceLine(TData& index, TData& text) override;

  std::uint8_t ScrollBars = 0;  // 0 none, 1 horizontal, 2 vertical, 3 both
  bool Editable = false;
  AnsiString Text;

private:
  void Changed(TObj* sender);
};
