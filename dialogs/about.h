// The About box, and centring a window on the screen. Win32.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the window to the centre of the screen, keeping its size and z-order, and keeping
// it on the screen where it fits.
void CenterWindowOnScreen(HWND window);
