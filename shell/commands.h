// The commands of the menu bar, the system menu and the keyboard. Win32.
#pragma once

#include <windows.h>

// WM_COMMAND: dispatched on the low word of wParam; every command then goes on to the
// default window procedure.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);

// WM_SYSCOMMAND: the items the program adds to the system menu (Hide and Show Menu Bar,
// Always on Top, Night Colours, Universal Time from Windows), else the default.
LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam);

// A choice that stands in both the Time menu and the system menu: checks or clears its item
// in both and stores it (1 or 0) under the setting key of string keyText.
void ShowAndStoreChoice(UINT command, bool on, int keyText);

// A minimised window gets no repaint: after a change of what it shows, its caption is
// written again at once instead of when the minute changes.
void RewriteMinimisedCaption(HWND window);
