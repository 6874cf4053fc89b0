// The clock text: HH:MM:SS in the user's punctuation, and its 12-hour AM/PM form. Portable.
#pragma once

// Writes the 24-hour form of `hours` into `text` (kTextSize characters): 8 characters, for
// any value (taken by its magnitude, whole days dropped; not a number reads as 0). Returns the
// minutes shown, so that the chimes need not look for them in the text.
int FormatClockText(double hours, char *text);

// How far ahead of its whole second a reading already shows it, in seconds, when its seconds
// are cut rather than rounded: readings made of whole seconds come out a few hundred-
// thousandths of a second short, and the tick that turns the second comes milliseconds after.
constexpr double kCutSecondLead = 0.0005;

// As FormatClockText, but showing the second the reading is in rather than the nearest one:
// for readings that carry milliseconds (the sidereal scales), whose seconds are shown as the
// sky turns them, so that a reading late in a second never shows the next one early.
int FormatClockTextCut(double hours, char *text);

// Rewrites a 24-hour clock text in place into the 12-hour form with " AM" or " PM".
void MakeTwelveHourText(char *text);

// Reads the two hour characters of a clock text as "%d" would ("12", " 9", "09"): leading
// white space skipped, then a sign and digits. False when there is no digit.
bool ReadHourDigits(const char *twoCharacters, int *hour);
