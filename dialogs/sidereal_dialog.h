// The Sidereal Time dialog: mean or apparent sidereal time, and DUT1 with the date it was
// entered. OK stores and applies DUT1 and hands the choice of scale back; Cancel changes
// nothing. Win32.
#pragma once

#include <windows.h>

// What the dialog ended with (DialogBoxParam's result; -1 is a dialog that could not open).
enum SiderealDialogResult : int {
  kSiderealCancelled = 0,
  kSiderealMeanChosen = 1,
  kSiderealApparentChosen = 2,
};

// `lParam` of DialogBoxParam: nonzero when apparent sidereal time is in force.
INT_PTR CALLBACK SiderealDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
