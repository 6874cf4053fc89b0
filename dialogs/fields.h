// Writing a dialog's number fields, and reporting a bad one. Win32.
#pragma once

#include <windows.h>

#include "dialogs/field_text.h"

// A warning owned by the dialog, then the focus on the field (its text selected).
void ShowFieldError(HWND dialog, int controlId, int messageId, int select);

// Writes `value` with `precision` decimals in the user's punctuation, without blanks.
void SetNumberField(HWND dialog, double value, int width, int precision, int controlId);
