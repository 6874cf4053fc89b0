// The clock text: HH:MM:SS in the user's punctuation, and its 12-hour AM/PM form. Portable.
#pragma once

// Writes the 24-hour form of `hours` into `text` (kTextSize characters): 8 characters, for
// any value (taken by its magnitude, whole days dropped; not a number reads as 0). Returns the
// minutes shown, so that the chimes need not look for them in the text.
int FormatClockText(double hours, char *text);

// Rewrites a 24-hour clock text in place into the 12-hour form with " AM" or " PM".
void MakeTwelveHourText(char *text);

// Reads the two hour characters of a clock text as "%d" would ("12", " 9", "09"): leading
// white space skipped, then a sign and digits. False when there is no digit.
bool ReadHourDigits(const char *twoCharacters, int *hour);
