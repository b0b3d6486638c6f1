#include "monitor_form.h"

#include "com.h"
#include "do_data.h"
#include "grapher.h"
#include "hub.h"
#include "insert_delete.h"
#include "label_button.h"
#include "memo.h"
#include "message.h"
#include "str_mask.h"
#include "timer_element.h"

namespace {

template <auto Method, class T>
void Link(TNd_Event& output, T* target, std::uint16_t index) {
  output = MakeEvent<Method>(target, index);
}

}  // namespace

// Written in this order; a hub calls its outputs 0, 1, 2... and each chain ends before the next.
void TClassMainForm_1572310::WriteLinks() {
  Link<&TNdHub::doEvent>(StopButton->onClick, StopHub, 0);
  Link<&TNdCOM::doSend>(PollCommand->onData, SerialPort, 3);
  Link<&TNdHub::doEvent>(SerialPort->onRead, ReportHub, 0);
  Link<&TNdCOM::doRead>(ReadRequest->onData, SerialPort, 4);
  Link<&TNdDoData::doData>(PollHub->onEvent[0], PollCommand, 0);
  Link<&TNdTimer::doStart>(PollHub->onEvent[1], ReadDelayTimer, 0);
  Link<&TNdHub::doEvent>(VoltageCut->onDelete, VoltageHub, 0);
  Link<&TNdWinList::doAdd>(VoltagePoint->onInsert, VoltageMemo, 0);
  Link<&TNdDelete::doDelete>(ReportHub->onEvent[0], TemperatureCut, 0);
  Link<&TNdDelete::doDelete>(ReportHub->onEvent[1], VoltageCut, 0);
  Link<&TNdStrMask::doCheck>(ReportHub->onEvent[2], EndMask, 0);
  Link<&TNdInsert::doInsert>(TemperatureCut->onDelete, TemperaturePoint, 0);
  Link<&TNdHub::doEvent>(TemperaturePoint->onInsert, TemperatureHub, 0);
  Link<&TNdHub::doEvent>(CycleButton->onClick, CycleHub, 0);
  Link<&TNdHub::doEvent>(PollTimer->onTimer, PollJoinHub, 0);
  Link<&TNdHub::doEvent>(PollJoinHub->onEvent[0], PollHub, 0);
  Link<&TNdInsert::doInsert>(VoltageHub->onEvent[0], VoltagePoint, 0);
  Link<&TNdGrapher::doAdd>(VoltageHub->onEvent[1], VoltageGraph, 0);
  Link<&TNdGrapher::doAdd>(TemperatureHub->onEvent[0], TemperatureGraph, 0);
  Link<&TNdWinList::doAdd>(TemperatureHub->onEvent[1], TemperatureMemo, 0);
  Link<&TNdCOM::doOpen>(OpenHub->onEvent[0], SerialPort, 0);
  Link<&TNdCOM::doPurge>(OpenHub->onEvent[1], SerialPort, 2);
  Link<&TNdDoData::doData>(ReadDelayTimer->onTimer, ReadRequest, 0);
  Link<&TNdHub::doEvent>(CycleHub->onEvent[0], OpenHub, 0);
  Link<&TNdTimer::doStart>(CycleHub->onEvent[1], PollTimer, 0);
  Link<&TNdTimer::doStart>(CycleHub->onEvent[2], FirstPollTimer, 0);
  Link<&TNdHub::doEvent>(CycleHub->onEvent[3], TemperatureClearHub, 0);
  Link<&TNdHub::doEvent>(CycleHub->onEvent[4], VoltageClearHub, 0);
  Link<&TNdTimer::doStop>(StopHub->onEvent[0], PollTimer, 1);
  Link<&TNdHub::doEvent>(StopHub->onEvent[1], CloseHub, 0);
  Link<&TNdHub::doEvent>(FirstPollTimer->onTimer, PollJoinHub, 1);
  Link<&TNdHub::doEvent>(EndMask->onMatch, EndHub, 0);
  Link<&TNdCOM::doClose>(CloseHub->onEvent[0], SerialPort, 1);
  Link<&TNdMessage::doMessage>(EndHub->onEvent[0], EndMessage, 0);
  Link<&TNdHub::doEvent>(EndHub->onEvent[1], CloseHub, 1);
  Link<&TNdGrapher::doClear>(TemperatureClearHub->onEvent[0], TemperatureGraph, 1);
  Link<&TNdWinList::doClear>(TemperatureClearHub->onEvent[1], TemperatureMemo, 1);
  Link<&TNdGrapher::doClear>(VoltageClearHub->onEvent[0], VoltageGraph, 1);
  Link<&TNdWinList::doClear>(VoltageClearHub->onEvent[1], VoltageMemo, 1);
  // A one-shot tick left armed would poll or read in the next run, after its purge: the read
  // then waits out the port's whole time-out with the window frozen.
  Link<&TNdTimer::doStop>(StopHub->onEvent[2], ReadDelayTimer, 1);
  Link<&TNdTimer::doStop>(StopHub->onEvent[3], FirstPollTimer, 1);
}
