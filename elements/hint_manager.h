#pragma once
// The tooltip service of windowed elements: one platform tooltip window per element window, all
// with the look the manager holds, reached through an interface of seven bound operations.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "color.h"
#include "font_rec.h"
#include "graphic_tool.h"
#include "method.h"
#include "object.h"

struct TTooltipWindowDestroyer {
  void operator()(HWND window) const {
    // The tooltip is owned by the element's window and dies with it, often before the record.
    if (IsWindow(window)) DestroyWindow(window);
  }
};
using TTooltipWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TTooltipWindowDestroyer>;

// One tooltip: the platform's tool record, the tooltip window and the font it was given.
// The platform reads the text through Info.lpszText as UTF-16, so the record keeps its own
// converted copy of the caller's Windows-1251 text; the caller's string may go away.
struct THintRecord {
  THintRecord() = default;
  THintRecord(const THintRecord&) = delete;
  THintRecord& operator=(const THintRecord&) = delete;
  ~THintRecord();

  TTTOOLINFOW Info{};
  std::wstring Text;
  // Declared before the window so that it is deleted after the window that uses it.
  TGdiObject<HFONT> Font;
  TTooltipWindow Tooltip;
};
using THintRecordPtr = std::unique_ptr<THintRecord>;

// The seven operations, bound to one manager. DestroyHint takes the record back; a record that
// is simply dropped cleans up the same way.
struct THintInterface {
  TFunc<THintRecordPtr, HWND> CreateHint;
  TMethod<THintRecordPtr> DestroyHint;
  TMethod<THintRecord*, const AnsiString&> SetHintText;
  TMethod<THintRecord*, int, const AnsiString&> SetHintTitle;  // (record, icon, title)
  TMethod<THintRecord*> ShowHint;
  TMethod<THintRecord*> HideHint;
  TMethod<THintRecord*, int, int> MoveHint;                   // (record, x, y)
};

class TNdHintManager : public TObject {
public:
  TNdHintManager();

  THintInterface* HintInterface() { return hintInterface.get(); }

  THintRecordPtr CreateHint(HWND window);
  void DestroyHint(THintRecordPtr record);
  void SetHintText(THintRecord* record, const AnsiString& text);
  void SetHintTitle(THintRecord* record, int icon, const AnsiString& title);
  // These three act only while Tracking is not 0.
  void ShowHint(THintRecord* record);
  void HideHint(THintRecord* record);
  void MoveHint(THintRecord* record, int x, int y);

  std::uint8_t RectangularTips = 0;  // 0: balloon-shaped tooltips
  TColor BackColor = 0;
  std::int32_t InitialDelay = 0;  // ms
  std::int32_t AutoPopDelay = 0;  // ms
  std::int32_t Margin = 0;        // pixels, all four sides
  std::uint8_t Tracking = 0;
  TFontRec Font;

private:
  std::unique_ptr<THintInterface> hintInterface;
};

// The process-wide tooltip service; null until the start-up code creates it.
extern TNdHintManager* DefaultHintManager;

// Creates DefaultHintManager with the look of the program's tooltips (once; later calls return
// the same manager). The common-control classes must be registered first.
TNdHintManager* CreateDefaultHintManager();
