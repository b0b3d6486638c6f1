#pragma once
// Where a main form keeps its window position and size between runs: a registry key under
// HKEY_CURRENT_USER\Software, or a section of an INI file beside the executable. Every failure
// is silent: nothing is saved, or the window keeps its designed bounds.

#include "control.h"

// save false: apply the stored values to the control; true: store the control's bounds.
using TPlacement = void (*)(TControl* control, const AnsiString& saveKey, bool save);

// Registry key "Software\<saveKey>" with REG_DWORD values Left, Top, Height, Width.
void RegistryPlacement(TControl* control, const AnsiString& saveKey, bool save);
// saveKey "name.ini\Section": file name.ini beside the executable, integer keys Left, Top,
// Width, Height in that section.
void IniPlacement(TControl* control, const AnsiString& saveKey, bool save);

// Null for an empty key; the INI store when the key contains ".ini\" (exact case); otherwise
// the registry.
TPlacement ChoosePlacement(const AnsiString& saveKey);
