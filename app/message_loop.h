#pragma once
// The message loop of the application control and the start step that precedes it.

#include <windows.h>

class TControl;
class TNdWin;

// Switches event dispatch on and runs the start-up list; the main window is shown there.
void StartApplication(TNdWin* mainForm);

// Runs until AppTerminated; the variable is the one holding the application control.
void RunMessageLoop(TControl*& appControl);
void ProcessPendingMessages(TControl* appControl);
bool ProcessOneMessage(TControl* appControl);  // false when the queue had nothing (or WM_NULL)
void TerminateApp(TControl*& appControl);

// Registers the common-control window classes; InitCommonControlsEx is looked up by name.
void InitCommonControlsAll(DWORD mask);
