// Night Colours for the menu bar, its menus and the system menu: while they are on every
// item is drawn by the clock, red on black, from its own text. Win32.
#pragma once

#include <windows.h>

// Every window of the clock takes the colours now in force: the menus of the main window
// (owner-drawn while Night Colours is on, the system's again when off), its menu bar, the
// title bars and the other windows.
void ShowNightColours(HWND window);

// For the main window procedure, before its own handling: measures and draws the items.
// Returns true, with the result, for a message it answered.
bool NightMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);
