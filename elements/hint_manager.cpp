#include "hint_manager.h"

#include "text_codec.h"

namespace {

std::unique_ptr<TNdHintManager> defaultHintManagerOwner;

LRESULT SendToTooltip(const THintRecord* record, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(record->Tooltip.get(), msg, wParam, lParam);
}

LPARAM InfoParam(THintRecord* record) { return reinterpret_cast<LPARAM>(&record->Info); }

}  // namespace

TNdHintManager* DefaultHintManager = nullptr;

THintRecord::~THintRecord() {
  if (IsWindow(Tooltip.get()))
    SendMessageW(Tooltip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&Info));
}

TNdHintManager::TNdHintManager() : hintInterface(std::make_unique<THintInterface>()) {
  THintInterface& i = *hintInterface;
  i.CreateHint = MakeFunc<&TNdHintManager::CreateHint, THintRecordPtr, HWND>(this);
  i.DestroyHint = MakeMethod<&TNdHintManager::DestroyHint, THintRecordPtr>(this);
  i.SetHintText = MakeMethod<&TNdHintManager::SetHintText, THintRecord*, const AnsiString&>(this);
  i.SetHintTitle =
      MakeMethod<&TNdHintManager::SetHintTitle, THintRecord*, int, const AnsiString&>(this);
  i.ShowHint = MakeMethod<&TNdHintManager::ShowHint, THintRecord*>(this);
  i.HideHint = MakeMethod<&TNdHintManager::HideHint, THintRecord*>(this);
  i.MoveHint = MakeMethod<&TNdHintManager::MoveHint, THintRecord*, int, int>(this);
}

THintRecordPtr TNdHintManager::CreateHint(HWND window) {
  auto record = std::make_unique<THintRecord>();
  TTTOOLINFOW& info = record->Info;
  // The size of the record every comctl32 accepts: a larger one makes version 5 refuse the tool.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  info.hwnd = window;
  info.uId = reinterpret_cast<UINT_PTR>(window);

  DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  if (RectangularTips == 0) style |= TTS_BALLOON;
  record->Tooltip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, window, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
  record->Font = CreateFontFromRec(Font);
  SendToTooltip(record.get(), WM_SETFONT, reinterpret_cast<WPARAM>(record->Font.Get()), TRUE);
  SetWindowPos(record->Tooltip.get(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SendToTooltip(record.get(), TTM_ADDTOOLW, 0, InfoParam(record.get()));
  SendToTooltip(record.get(), TTM_SETTIPTEXTCOLOR, ResolveColor(Font.Color), 0);
  SendToTooltip(record.get(), TTM_SETTIPBKCOLOR, ResolveColor(BackColor), 0);
  SendToTooltip(record.get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(InitialDelay, 0));
  SendToTooltip(record.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(AutoPopDelay, 0));
  RECT margin{Margin, Margin, Margin, Margin};
  SendToTooltip(record.get(), TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  return record;
}

// The record deletes the tool, the tooltip window and the font, whichever of them still exist.
void TNdHintManager::DestroyHint(THintRecordPtr record) { record.reset(); }

void TNdHintManager::SetHintText(THintRecord* record, const AnsiString& text) {
  record->Text = ToWide(text);
  record->Info.lpszText = record->Text.data();
  SendToTooltip(record, TTM_UPDATETIPTEXTW, 0, InfoParam(record));
}

void TNdHintManager::SetHintTitle(THintRecord* record, int icon, const AnsiString& title) {
  const std::wstring wideTitle = ToWide(title);
  SendToTooltip(record, TTM_SETTITLEW, static_cast<WPARAM>(icon),
                reinterpret_cast<LPARAM>(wideTitle.c_str()));
}

void TNdHintManager::ShowHint(THintRecord* record) {
  if (Tracking != 0) SendToTooltip(record, TTM_TRACKACTIVATE, TRUE, InfoParam(record));
}

void TNdHintManager::HideHint(THintRecord* record) {
  if (Tracking != 0) SendToTooltip(record, TTM_TRACKACTIVATE, FALSE, InfoParam(record));
}

void TNdHintManager::MoveHint(THintRecord* record, int x, int y) {
  if (Tracking != 0) SendToTooltip(record, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
}

TNdHintManager* CreateDefaultHintManager() {
  if (defaultHintManagerOwner) return defaultHintManagerOwner.get();
  auto manager = std::make_unique<TNdHintManager>();
  manager->RectangularTips = 1;
  manager->BackColor = 0xFF000000u | COLOR_INFOBK;
  manager->InitialDelay = 500;
  manager->AutoPopDelay = 5000;
  manager->Margin = 0;
  manager->Tracking = 0;
  manager->Font = MakeFontRec("Tahoma", 8, 0, 0xFF000000u | COLOR_INFOTEXT, DEFAULT_CHARSET);
  defaultHintManagerOwner = std::move(manager);
  DefaultHintManager = defaultHintManagerOwner.get();
  return DefaultHintManager;
}
