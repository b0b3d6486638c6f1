#pragma once
// The monitor form: creates the 37 elements of the monitor in a fixed order, sets them up,
// writes their 41 links, and frees them in reverse order.

#include <string>
#include <vector>

#include "data.h"
#include "object.h"

class TNdMainForm;
class TNdButton;
class TNdLabel;
class TNdMemo;
class TNdGrapher;
class TNdDoData;
class TNdCOM;
class TNdHub;
class TNdDelete;
class TNdInsert;
class TNdTimer;
class TNdStrMask;
class TNdMessage;
class TNdChargeLog;

class TClassMainForm_1572310 : public TObject {
public:
  // On failure part-way, what was built is freed and the error passed on.
  TClassMainForm_1572310();
  ~TClassMainForm_1572310() override;

  TNdMainForm* MainWindow = nullptr;
  TNdButton* StopButton = nullptr;
  TNdDoData* PollCommand = nullptr;
  TNdMemo* TemperatureMemo = nullptr;
  TNdCOM* SerialPort = nullptr;
  TNdDoData* ReadRequest = nullptr;
  TNdHub* PollHub = nullptr;
  TNdMemo* VoltageMemo = nullptr;
  TNdDelete* VoltageCut = nullptr;
  TNdInsert* VoltagePoint = nullptr;
  TNdLabel* VoltageCaption = nullptr;
  TNdHub* ReportHub = nullptr;
  TNdDelete* TemperatureCut = nullptr;
  TNdInsert* TemperaturePoint = nullptr;
  TNdLabel* TemperatureCaption = nullptr;
  TNdButton* CycleButton = nullptr;
  TNdTimer* PollTimer = nullptr;
  TNdHub* PollJoinHub = nullptr;
  TNdGrapher* VoltageGraph = nullptr;
  TNdHub* VoltageHub = nullptr;
  TNdLabel* VoltageGraphTitle = nullptr;
  TNdLabel* VoltageGraphUnit = nullptr;
  TNdHub* TemperatureHub = nullptr;
  TNdGrapher* TemperatureGraph = nullptr;
  TNdLabel* TemperatureGraphUnit = nullptr;
  TNdLabel* TemperatureGraphTitle = nullptr;
  TNdHub* OpenHub = nullptr;
  TNdTimer* ReadDelayTimer = nullptr;
  TNdHub* CycleHub = nullptr;
  TNdHub* StopHub = nullptr;
  TNdTimer* FirstPollTimer = nullptr;
  TNdStrMask* EndMask = nullptr;
  TNdHub* CloseHub = nullptr;
  TNdHub* EndHub = nullptr;
  TNdMessage* EndMessage = nullptr;
  TNdHub* TemperatureClearHub = nullptr;
  TNdHub* VoltageClearHub = nullptr;

  // With the port switch only: COM `number` (1..256) instead of COM1, named in the caption.
  void ChoosePort(int number);

  // With the log switch only: the form then also writes every reading to a CSV file. False, and
  // nothing changed, when the file cannot be opened.
  bool AttachChargeLog(const std::wstring& path);
  TNdChargeLog* ChargeLog = nullptr;
  TNdHub* LogVoltageHub = nullptr;  // the voltage pane's text, to its pane and to the log

  // Every element, in the order of creation.
  const std::vector<TObject*>& Elements() const { return elements_; }

private:
  void CreateElements();
  void WriteLinks();
  void RegisterHints();
  void FreeElements();

  template <class T>
  void Keep(T*& field, T* element) {
    field = element;
    elements_.push_back(element);
  }

  std::vector<TObject*> elements_;
};

// The one monitor form; set by its constructor as its first act.
extern TClassMainForm_1572310* FormInstance;
