// What a screen reader reads on the clock: the time as shown, with its scale. Win32.
#pragma once

#include <windows.h>

// The main window's WM_GETOBJECT.
LRESULT AnswerClockAccess(HWND window, WPARAM wParam, LPARAM lParam);
