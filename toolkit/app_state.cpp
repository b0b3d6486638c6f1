#include "control.h"

TControl* AppControl = nullptr;
bool AppRunning = false;
bool AppTerminated = false;

namespace {
void ExitWithCode(UINT exitCode) { ExitProcess(exitCode); }
}  // namespace

void (*HaltProcess)(UINT exitCode) = ExitWithCode;

THookProc FirstMessageHook = nullptr;
void (*InvalidateHook)(TControl* control) = nullptr;
void (*AfterCreationHook)(TControl* control) = nullptr;
THookProc KeyHook = nullptr;
HCURSOR OverrideCursor = nullptr;
