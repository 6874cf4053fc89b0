// What a screen reader reads in the help window's text view: the page's title and its text.
// Win32; for help/ only.
#pragma once

#include <windows.h>

// The view's WM_GETOBJECT.
LRESULT AnswerHelpViewAccess(HWND view, WPARAM wParam, LPARAM lParam);
