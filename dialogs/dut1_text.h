// The DUT1 field's text: UT1 - UTC in seconds to the millisecond, -0.9 to +0.9, in the
// user's decimal punctuation, read to and written from whole milliseconds; and the date it
// was entered. Portable.
#pragma once

#include "support/hooks.h"

// Reads a DUT1 text ("0.123", "-.5", "+0,250" where the decimal character is a comma):
// blanks, an optional sign, the seconds, the user's decimal character and up to three
// decimals (further ones only zeros), blanks. False for anything else or beyond 0.9 s
// either way; `milliseconds` is then kept.
bool ReadDut1Text(const char *text, int *milliseconds);

// Writes `milliseconds` as seconds with three decimals in the user's punctuation ("-0.150",
// or "-.150" without a leading zero). `out` holds 81 characters.
void FormatDut1Text(int milliseconds, char *out);

// The date DUT1 was entered, as it is stored: YYYYMMDD of the local date `today`.
int Dut1DateOf(const CivilTime &today);

// Writes a stored YYYYMMDD as "YYYY-MM-DD" (the same in every country, so that a date such
// as 03/04 is not read the wrong way round). False, `out` empty, when it is no such date: a
// damaged or absent setting is shown as not entered. `out` holds 11 characters.
bool FormatDut1Date(int yyyymmdd, char *out);
