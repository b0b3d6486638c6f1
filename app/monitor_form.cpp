#include "monitor_form.h"

#include <memory>

#include "com.h"
#include "do_data.h"
#include "grapher.h"
#include "hub.h"
#include "insert_delete.h"
#include "label_button.h"
#include "main_form.h"
#include "memo.h"
#include "message.h"
#include "str_mask.h"
#include "timer_element.h"

TClassMainForm_1572310* FormInstance = nullptr;

namespace {

constexpr TColor ButtonFace = 0xFF00000F;
constexpr TColor WindowBackground = 0xFF000005;

struct TPlace {
  int Left, Top, Width, Height;
};

TFontRec PlainFont() { return MakeFontRec("MS Sans Serif", 8, 0, 0, 1); }
TFontRec ButtonFont() { return MakeFontRec("MS Sans Serif", 10, FontStyleBold, 0, 1); }

// The settings every windowed element of the form shares.
void Place(TNdWin& element, TPlace place, TColor color, std::uint8_t frame, const TFontRec& font) {
  element.Left = place.Left;
  element.Top = place.Top;
  element.Width = place.Width;
  element.Height = place.Height;
  element.Align = 0;
  element.TabOrder = 0;
  element.ParentFont = false;
  element.Visible = true;
  element.Enabled = true;
  element.EdgeStyle = 0;
  element.Hint.clear();
  element.Color = color;
  element.FrameStyle = frame;
  element.Font = font;
}

TNdMainForm* MakeMainWindow() {
  auto form = std::make_unique<TNdMainForm>(nullptr);
  Place(*form, {0, 0, 1024, 768}, ButtonFace, frSingle, PlainFont());
  form->Cursor = nullptr;
  form->SetCaption("VORTANE");
  form->SetBorderStyle(2);
  form->SetIcon(LoadIconW(GetModuleHandleW(nullptr), L"FICO"));
  form->SetHideFromTaskbar(false);
  form->AlphaBlend = 255;
  form->WindowState = 0;
  form->DragForm = false;
  form->ParentKeys = true;
  form->MouseCapture = false;
  form->SaveKey.clear();
  form->ClientSize = false;
  form->Init();
  return form.release();
}

TNdButton* MakeButton(TControl* parent, TPlace place, const char* caption) {
  auto button = std::make_unique<TNdButton>(parent);
  Place(*button, place, ButtonFace, frSingle, ButtonFont());
  button->Cursor = nullptr;
  button->Flat = false;
  button->Default = false;
  button->Caption = caption;
  button->Init();
  return button.release();
}

TNdMemo* MakeMemo(TControl* parent, TPlace place) {
  auto memo = std::make_unique<TNdMemo>(parent);
  Place(*memo, place, WindowBackground, frSunken, PlainFont());
  memo->Cursor = nullptr;
  memo->AddToTop = true;
  memo->ScrollBars = 2;
  memo->Editable = false;
  memo->Text.clear();
  memo->Init();
  return memo.release();
}

TNdLabel* MakeLabel(TControl* parent, TPlace place, const char* caption) {
  auto label = std::make_unique<TNdLabel>(parent);
  Place(*label, place, ButtonFace, frSingle, PlainFont());
  label->Transparent = false;
  label->HoverColor = 0;
  label->HoverCursor = nullptr;
  label->HoverUnderline = false;
  label->Caption = caption;
  label->SetAutoSize(true);
  label->SetTextAlign(0);
  label->Init();
  return label.release();
}

TNdGrapher* MakeGraph(TControl* parent, TPlace place, double minY, double maxY) {
  auto graph = std::make_unique<TNdGrapher>(parent);
  Place(*graph, place, ButtonFace, frSingle, PlainFont());
  graph->Cursor = nullptr;
  graph->SetGrid(10);
  graph->GridColor = 0xC0C0C0;
  graph->BorderColor = 0;
  graph->TextColor = 0xFF0000;
  graph->MaxPoints = 0;
  graph->MarginLeft = 30;
  graph->MarginRight = 15;
  graph->MarginTop = 15;
  graph->MarginBottom = 15;
  graph->LineWidth = 1;
  graph->LineColor = 0xFF;
  graph->Step = 1.0;
  graph->MinY = minY;
  graph->MaxY = maxY;
  graph->Init();
  return graph.release();
}

TNdCOM* MakeSerialPort() {
  auto port = std::make_unique<TNdCOM>();
  port->Port = 0;
  port->BaudRate = 4800;
  port->Parity = 0;
  port->Timeout = 60000;
  return port.release();
}

TNdDoData* MakeStringData(const char* text) {
  auto element = std::make_unique<TNdDoData>();
  MakeString(element->Data, text);
  return element.release();
}

TNdDoData* MakeIntegerData(std::int32_t value) {
  auto element = std::make_unique<TNdDoData>();
  MakeInteger(element->Data, value);
  return element.release();
}

TNdHub* MakeHub(std::uint8_t inCount, std::uint8_t outCount) {
  auto hub = std::make_unique<TNdHub>();
  hub->InCount = inCount;
  hub->SetOutCount(outCount);
  return hub.release();
}

TNdDelete* MakeDelete(std::int32_t position, std::int32_t count) {
  auto cut = std::make_unique<TNdDelete>();
  cut->Position = position;
  cut->Count = count;
  return cut.release();
}

TNdInsert* MakePoint(std::int32_t position) {
  auto point = std::make_unique<TNdInsert>();
  point->Str.clear();
  point->SubStr = ".";
  point->Position = position;
  return point.release();
}

TNdTimer* MakeTimer(std::int32_t interval, std::int32_t stopCount) {
  auto timer = std::make_unique<TNdTimer>();
  timer->SetInterval(interval);
  timer->SetEnabled(false);
  timer->SetStopCount(stopCount);
  timer->QueueTicks = 0;
  return timer.release();
}

TNdStrMask* MakeEndMask() {
  auto mask = std::make_unique<TNdStrMask>();
  mask->Mask = "0000000*";
  mask->IgnoreCase = 1;
  return mask.release();
}

TNdMessage* MakeEndMessage() {
  auto message = std::make_unique<TNdMessage>();
  message->Text = "Заряд окончен!";
  message->Caption = "Режим";
  message->Buttons = 0;
  message->Icon = 0;
  message->DefaultButton = 0;
  return message.release();
}

}  // namespace

TClassMainForm_1572310::TClassMainForm_1572310() {
  FormInstance = this;
  try {
    CreateElements();
    WriteLinks();
    RegisterHints();
    MainWindow->Control->ParentForm()->EnableFocusNavigation();
  } catch (...) {
    FreeElements();
    throw;
  }
}

TClassMainForm_1572310::~TClassMainForm_1572310() { FreeElements(); }

void TClassMainForm_1572310::CreateElements() {
  Keep(MainWindow, MakeMainWindow());
  TControl* const form = MainWindow->Control;
  Keep(StopButton, MakeButton(form, {95, 700, 85, 25}, "стоп"));
  Keep(PollCommand, MakeStringData("f"));
  Keep(TemperatureMemo, MakeMemo(form, {150, 30, 115, 630}));
  Keep(SerialPort, MakeSerialPort());
  Keep(ReadRequest, MakeIntegerData(8));
  Keep(PollHub, MakeHub(1, 2));
  Keep(VoltageMemo, MakeMemo(form, {15, 30, 115, 630}));
  Keep(VoltageCut, MakeDelete(5, 3));
  Keep(VoltagePoint, MakePoint(2));
  Keep(VoltageCaption, MakeLabel(form, {20, 10, 105, 15}, "Напряжение,В"));
  Keep(ReportHub, MakeHub(1, 3));
  Keep(TemperatureCut, MakeDelete(1, 4));
  Keep(TemperaturePoint, MakePoint(3));
  Keep(TemperatureCaption, MakeLabel(form, {155, 10, 105, 15}, "Температура, С"));
  Keep(CycleButton, MakeButton(form, {95, 670, 85, 25}, "цикл"));
  Keep(PollTimer, MakeTimer(60000, 0));
  Keep(PollJoinHub, MakeHub(2, 1));
  Keep(VoltageGraph, MakeGraph(form, {280, 10, 700, 400}, 800.0, 1600.0));
  Keep(VoltageHub, MakeHub(1, 2));
  Keep(VoltageGraphTitle, MakeLabel(form, {420, 10, 160, 15}, "Напряжение, мВ/время"));
  Keep(VoltageGraphUnit, MakeLabel(form, {980, 385, 50, 15}, "мин"));
  Keep(TemperatureHub, MakeHub(1, 2));
  Keep(TemperatureGraph, MakeGraph(form, {280, 430, 700, 300}, 20.0, 45.0));
  Keep(TemperatureGraphUnit, MakeLabel(form, {980, 705, 29, 20}, "мин"));
  Keep(TemperatureGraphTitle, MakeLabel(form, {415, 415, 152, 20}, "Температура, С/время"));
  Keep(OpenHub, MakeHub(1, 2));
  Keep(ReadDelayTimer, MakeTimer(1, 1));
  Keep(CycleHub, MakeHub(1, 5));
  Keep(StopHub, MakeHub(1, 4));
  Keep(FirstPollTimer, MakeTimer(10, 1));
  Keep(EndMask, MakeEndMask());
  Keep(CloseHub, MakeHub(2, 1));
  Keep(EndHub, MakeHub(1, 2));
  Keep(EndMessage, MakeEndMessage());
  Keep(TemperatureClearHub, MakeHub(1, 2));
  Keep(VoltageClearHub, MakeHub(1, 2));
}

void TClassMainForm_1572310::RegisterHints() {
  for (TObject* element : elements_)
    if (auto* windowed = dynamic_cast<TNdWin*>(element)) windowed->RegisterHint(nullptr);
}

void TClassMainForm_1572310::FreeElements() {
  while (!elements_.empty()) {
    delete elements_.back();
    elements_.pop_back();
  }
}
