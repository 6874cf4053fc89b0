// The commands of the menu bar, the system menu and the keyboard. Win32.
#pragma once

#include <windows.h>

// WM_COMMAND: a saved choice's command goes to the choices, the others are dispatched on the
// low word of wParam; every command then goes on to the default window procedure.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);

// WM_SYSCOMMAND: the choices' items the program adds to the system menu (Hide and Show Menu
// Bar, Always on Top, Night Colours, Universal Time from Windows), else the default.
LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam);
