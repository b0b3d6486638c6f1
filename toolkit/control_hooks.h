#pragma once
// The toolkit's own message hooks and the state shared between creation and dispatch.

#include "control.h"

inline constexpr const wchar_t* SelfProp = L"SELF_";

// The control whose CreateWindowExW is running: its window's first message binds the two.
extern TControl* CreatingControl;

bool StdControlHook(TControl* self, TMessage& msg, LRESULT& result);
bool FormHook(TControl* self, TMessage& msg, LRESULT& result);
bool AppHook(TControl* self, TMessage& msg, LRESULT& result);
bool PaintHook(TControl* self, TMessage& msg, LRESULT& result);
bool ResizeHook(TControl* self, TMessage& msg, LRESULT& result);
bool MouseHook(TControl* self, TMessage& msg, LRESULT& result);
bool KeyHandlerHook(TControl* self, TMessage& msg, LRESULT& result);
bool ShowHook(TControl* self, TMessage& msg, LRESULT& result);

// OnCreated of the application control.
void TrimSystemMenu(void* data, TObj* sender);
