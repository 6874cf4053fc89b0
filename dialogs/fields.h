// Reading and writing a dialog's number fields, and reporting a bad one. Win32.
#pragma once

#include <windows.h>

#include "dialogs/field_text.h"

// Reads each row's field as a signed whole number, in order; the first that is not a
// number or out of range is reported on its field and ends the reading with error 1.
void ReadIntegerFields(HWND dialog, int count, IntegerFieldCheck *rows, int *error);

// Reads a real number from the field; the value is written only when error is 0.
void ReadRealField(HWND dialog, int controlId, double *value, int *error);

// A warning owned by the dialog, then the focus on the field (its text selected).
void ShowFieldError(HWND dialog, int controlId, int messageId, int select);

// Writes `value` with `precision` decimals in the user's punctuation, without blanks.
void SetNumberField(HWND dialog, double value, int width, int precision, int controlId);
