#include "event.h"

TDispatchProc CallEventProc = NoDispatch;
TDispatchProc CallDataProc = NoDispatch;
std::vector<TInitProc> InitProcs;

void DispatchEvent(const TNd_Event& event, TData& data) {
  // One loop walks a whole deferred chain, so a long chain of forwarding elements runs at
  // constant stack depth and still ends before the raise that started it returns.
  const TNd_Event* link = &event;
  while (link != nullptr && link->Code != nullptr) {
    link->Code(link->Target, data, link->Index);
    if ((data.DataType & DeferredEventBit) == 0) return;
    data.DataType = static_cast<std::uint8_t>(data.DataType & ~DeferredEventBit);
    link = data.NextEvent;
  }
}

void DispatchOnce(const TNd_Event& event, TData& data) {
  if (event.Code != nullptr) event.Code(event.Target, data, event.Index);
}

void NoDispatch(const TNd_Event&, TData&) {}

void InstallDispatchers() {
  CallEventProc = DispatchEvent;
  CallDataProc = DispatchOnce;
}

void RemoveDispatchers() {
  CallEventProc = NoDispatch;
  CallDataProc = NoDispatch;
}

void RaiseEvent(const TNd_Event& event) {
  TData data;
  MakeNull(data);
  CallEventProc(event, data);
}

void RaiseInteger(const TNd_Event& event, std::int32_t value) {
  TData data;
  MakeInteger(data, value);
  CallEventProc(event, data);
}

void RaiseString(const TNd_Event& event, const AnsiString& text) {
  TData data;
  MakeString(data, text);
  CallEventProc(event, data);
}

void RaiseData(const TNd_Event& event, const TData& value) {
  TData data = value;
  CallEventProc(event, data);
}

void DeferEvent(TData& data, TNd_Event& event) {
  data.DataType = dtNull | DeferredEventBit;
  data.NextEvent = &event;
}

void DeferString(TData& data, TNd_Event& event, const AnsiString& text) {
  data.DataType = dtString | DeferredEventBit;
  data.StrValue = text;
  data.Next = nullptr;
  data.NextEvent = &event;
}

void DeferData(TData& data, TNd_Event& event, const TData& value) {
  data = value;
  data.DataType = static_cast<std::uint8_t>(data.DataType | DeferredEventBit);
  data.NextEvent = &event;
}

namespace {

// Asks a linked source for its value; false when the input is unlinked or the source
// answers Break, and the reader then goes on as if there were no link.
bool pull(const TNd_Event& input, TData& fresh) {
  if (input.Code == nullptr) return false;
  MakeNull(fresh);
  CallDataProc(input, fresh);
  return fresh.DataType != dtBreak;
}

// The incoming record hands out its values one by one: the next value of a multi-value
// record takes its place, or it becomes NULL so that a later read in the same call finds
// nothing.
void consume(TData& data) {
  if (data.Next != nullptr) {
    data = *data.Next;
  } else {
    data.DataType = dtNull;
  }
}

template <class Result, class Take>
Result readInput(TData& data, const TNd_Event& input, const Result& def, bool defaultSet,
                 Take take) {
  TData fresh;
  if (pull(input, fresh)) return take(fresh);
  if (defaultSet || data.DataType == dtNull) return def;
  Result result = take(data);
  consume(data);
  return result;
}

}  // namespace

AnsiString ReadString(TData& data, const TNd_Event& input, const AnsiString& def) {
  return readInput<AnsiString>(data, input, def, !def.empty(),
                               [](const TData& d) { return ToStr(d); });
}

std::int32_t ReadInteger(TData& data, const TNd_Event& input, std::int32_t def) {
  return readInput<std::int32_t>(data, input, def, def != 0,
                                 [](const TData& d) { return ToInteger(d); });
}

double ReadReal(TData& data, const TNd_Event& input, double def) {
  return readInput<double>(data, input, def, def != 0.0,
                           [](const TData& d) { return ToReal(d); });
}

TData ReadData(TData& data, const TNd_Event& input, const TData* def) {
  const TData unset;
  const TData& fallback = def != nullptr ? *def : unset;
  return readInput<TData>(data, input, fallback, fallback.DataType != dtNull,
                          [](const TData& d) {
                            TData result = d;
                            result.Next = nullptr;
                            return result;
                          });
}

TStream* ReadStream(TData& data, const TNd_Event& input, TStream* def) {
  TData fresh;
  if (pull(input, fresh)) return IsStream(fresh) ? fresh.StreamValue : def;
  // Only a Stream is taken from the incoming record; anything else stays for later reads.
  if (def != nullptr || !IsStream(data)) return def;
  TStream* result = data.StreamValue;
  consume(data);
  return result;
}

std::int32_t ReadPointInteger(const TNd_Event& input) {
  TData data;
  MakeNull(data);
  CallDataProc(input, data);
  return ToInteger(data);
}

void FetchData(TData& data, const TNd_Event& input) {
  if (input.Code == nullptr) {
    data.DataType = dtBreak;
    return;
  }
  CallDataProc(input, data);
}

void AddInitProc(TInitProc proc) { InitProcs.push_back(proc); }

void RunInitProcs() {
  // The length is read again before every call: a procedure may register another one,
  // which then runs in this same pass. The entry is copied first because registering
  // can move the list's storage.
  for (std::size_t i = 0; i < InitProcs.size(); ++i) {
    const TInitProc proc = InitProcs[i];
    if (proc.Code != nullptr) proc.Code(proc.Target);
  }
  InitProcs.clear();
}
