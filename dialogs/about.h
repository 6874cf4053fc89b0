// The About box, and centring a window on its monitor. Win32.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the window to the centre of the work area of the monitor that holds its owner (the
// clock), or itself when it has none, keeping its size and z-order, and keeping it on that
// work area where it fits.
void CenterWindowOnScreen(HWND window);
