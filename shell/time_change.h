// The computer's clock or time zone changed while the clock runs (travel, an automatic time
// zone): the question of where UT comes from is put again. Win32.
#pragma once

#include <windows.h>

// For WM_TIMECHANGE, and for WM_SETTINGCHANGE when the computer's zone has moved since the
// last check (its lParam names no setting reliably): posts the check, so that the question
// comes from the message loop, not inside a message the system is sending to every window.
void CheckUniversalTimeAfterTimeChange(HWND window, UINT message);
