// Night Colours beyond the face: the colours every window of the clock draws with, its
// controls seen through a red filter, and the dark title bar. Win32.
#pragma once

#include <windows.h>

// What the clock shows for a system colour: the colour itself, or while Night Colours is
// on its red equivalent. The brushes are the system's or kept for the whole run.
COLORREF ShownColour(int systemColour);
HBRUSH ShownBrush(int systemColour);

// The night pixel of one drawn in the system's colours: the darker on the usual paper, the
// brighter red; paper itself goes black.
COLORREF NightPixel(COLORREF drawn);

// Asks Windows for a dark title bar while Night Colours is on, the usual one otherwise.
void ApplyNightTitleBar(HWND window);

// For the dialog procedures and the help window, before their own handling: the dark
// background, the filter on every control, the title bar. Returns true, with the result,
// for a message it answered.
bool NightWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);
INT_PTR NightDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// After Night Colours changed: every window of the clock takes the new colours at once.
void ShowNightColoursInEveryWindow();

// A focus rectangle that stays red at night (the usual one inverts black to white).
void DrawShownFocusRect(HDC dc, const RECT *box);
