#include <memory>

#include "charge_log.h"
#include "hub.h"
#include "insert_delete.h"
#include "memo.h"
#include "monitor_form.h"
#include "str_mask.h"

// Joins the form once its 37 elements and their links stand, so that without the switch the
// form is exactly as it always was. The log sees each reply after both panes have their texts
// and before the end check, whose box would otherwise hold the line back until it is closed.
bool TClassMainForm_1572310::AttachChargeLog(const std::wstring& path) {
  auto log = std::make_unique<TNdChargeLog>();
  log->FileName = path;
  if (!log->Open()) return false;
  Keep(ChargeLog, log.release());
  auto hub = std::make_unique<TNdHub>();
  hub->InCount = 1;
  hub->SetOutCount(2);
  Keep(LogVoltageHub, hub.release());

  ReportHub->SetOutCount(4);
  ReportHub->onEvent[2] = MakeEvent<&TNdChargeLog::doReply>(ChargeLog, 3);
  ReportHub->onEvent[3] = MakeEvent<&TNdStrMask::doCheck>(EndMask, 0);
  TemperatureHub->SetOutCount(3);
  TemperatureHub->onEvent[2] = MakeEvent<&TNdChargeLog::doTemperature>(ChargeLog, 2);
  VoltagePoint->onInsert = MakeEvent<&TNdHub::doEvent>(LogVoltageHub, 0);
  LogVoltageHub->onEvent[0] = MakeEvent<&TNdWinList::doAdd>(VoltageMemo, 0);
  LogVoltageHub->onEvent[1] = MakeEvent<&TNdChargeLog::doVoltage>(ChargeLog, 1);
  CycleHub->SetOutCount(6);
  CycleHub->onEvent[5] = MakeEvent<&TNdChargeLog::doCycle>(ChargeLog, 0);
  return true;
}
