// The Set Location dialog: choose a city from the table, correct it, or add one; OK stores
// it and makes it current, Save also writes the city file, Cancel changes nothing. Win32.
#pragma once

#include <windows.h>

#include "location/location.h"

// The Location the dialog edits: the main window copies the current Location in before the
// dialog opens and takes it back afterwards, however the dialog ended.
Location *DialogLocation();

// Whether the last opening ended with OK or Save (a city confirmed), not Cancel.
bool SetLocationConfirmed();

INT_PTR CALLBACK SetLocationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows a city's values in the fields.
void FillLocationFields(HWND dialog, int degrees, int minutes, int seconds, int hemisphere,
                        double zone, int dst);
