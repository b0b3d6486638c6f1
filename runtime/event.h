#pragma once
// Links between elements, their dispatch, pulled data inputs and the start-up list.

#include <cstdint>
#include <vector>

#include "data.h"

using TEventCode = void (*)(void* target, TData& data, std::uint16_t index);

struct TNd_Event {
  TEventCode Code = nullptr;  // null: the point is unlinked
  void* Target = nullptr;
  std::uint16_t Index = 0;
};

// MakeEvent<&TNdHub::doEvent>(hub, 0). The thunk calls through the member pointer, so a
// virtual input method reaches the override of the target's class.
template <auto Method, class T>
TNd_Event MakeEvent(T* target, std::uint16_t index) {
  TNd_Event e;
  e.Code = [](void* t, TData& d, std::uint16_t i) { (static_cast<T*>(t)->*Method)(d, i); };
  e.Target = target;
  e.Index = index;
  return e;
}

using TDispatchProc = void (*)(const TNd_Event& event, TData& data);

extern TDispatchProc CallEventProc;
extern TDispatchProc CallDataProc;

void DispatchEvent(const TNd_Event& event, TData& data);
void DispatchOnce(const TNd_Event& event, TData& data);
void NoDispatch(const TNd_Event& event, TData& data);

void InstallDispatchers();
void RemoveDispatchers();

void RaiseEvent(const TNd_Event& event);
void RaiseInteger(const TNd_Event& event, std::int32_t value);
void RaiseString(const TNd_Event& event, const AnsiString& text);
void RaiseData(const TNd_Event& event, const TData& data);

// Used by an input method as its last action on the record it was called with.
void DeferEvent(TData& data, TNd_Event& event);
void DeferString(TData& data, TNd_Event& event, const AnsiString& text);
void DeferData(TData& data, TNd_Event& event, const TData& value);

AnsiString ReadString(TData& data, const TNd_Event& input, const AnsiString& def);
std::int32_t ReadInteger(TData& data, const TNd_Event& input, std::int32_t def);
double ReadReal(TData& data, const TNd_Event& input, double def);
TData ReadData(TData& data, const TNd_Event& input, const TData* def);
TStream* ReadStream(TData& data, const TNd_Event& input, TStream* def);
std::int32_t ReadPointInteger(const TNd_Event& input);
void FetchData(TData& data, const TNd_Event& input);

struct TInitProc {
  void (*Code)(void* target) = nullptr;
  void* Target = nullptr;
};

template <auto Method, class T>
TInitProc MakeInitProc(T* target) {
  return {[](void* t) { (static_cast<T*>(t)->*Method)(); }, target};
}

extern std::vector<TInitProc> InitProcs;
void AddInitProc(TInitProc proc);
void RunInitProcs();
