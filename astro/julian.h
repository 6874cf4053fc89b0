// Calendar arithmetic under every clock reading: Julian days, weekdays, the US
// daylight-saving dates of a year, and small numeric helpers. Portable, pure functions.
#pragma once

// Julian day (days beginning at noon) of a calendar date whose day carries the time of
// day as its fraction. Julian calendar up to 1582-10-04, Gregorian from 1582-10-15.
double JulianDayFromDate(double day, int month, int year);

// The calendar date of a Julian day; all three outputs are always written.
void DateFromJulianDay(double julianDay, double *day, int *month, int *year);

// 0 Sunday ... 6 Saturday.
int DayOfWeek(int day, int month, int year);

// The local-clock Julian days at which US daylight saving starts and ends in `year`
// (both at 02:00, both inclusive), following the rule that was in force that year.
void UsDaylightSavingWindow(int year, double *start, double *end);

int RoundHalfUp(double x);        // trunc(x + 0.5)
double Square(double x);          // x * x
double FractionalPart(double x);  // as modf splits it: the sign of x
int SignOf(double x);             // +1 for x >= 0, else -1

// Truncation toward zero that is defined for every double: NaN gives 0 and values beyond
// the target's range saturate. Hand-edited files can put any number into the clock's
// arithmetic, and a plain conversion of such a value is undefined behaviour (and traps
// once the invalid-operation exception is unmasked).
int TruncToInt(double x);
long long TruncToLong(double x);
