// The user's international punctuation (WIN.INI section "intl"), cached so that the
// once-a-second clock text does not read the profile. Portable: the profile comes through
// the platform hooks.
#pragma once

// Each query reads the profile when `refresh` is non-zero or when it has not been read yet.
int IntlLeadingZero(int refresh);      // 1 when numbers below 1 keep a zero before the point
char IntlDecimalChar(int refresh);     // the decimal character
int IntlTimeLeadingZero(int refresh);  // 1 when hours below 10 keep their leading zero
char IntlTimeSeparator(int refresh);   // the character between hours, minutes and seconds

// Refreshes all four, in the order the main window uses at creation and on a profile change.
void RefreshIntlSettings();
