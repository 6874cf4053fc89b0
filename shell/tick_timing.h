// When the clock's next tick is due: just after the next whole second of the computer's
// clock, so that the shown second changes with the computer's; for the sidereal scales,
// just after the next whole second of the scale shown. Portable.
#pragma once

// How far past the whole second a tick is aimed, in milliseconds: enough that a timer that
// fires a little early, or a clock read a moment stale, still lands in the new second.
constexpr int kTickMarginMs = 3;

// The wait, in milliseconds, from a reading `millisecond` (0 to 999) into the computer's
// current second until kTickMarginMs after the next whole second. Readings outside 0 to 999
// count as the nearest end.
unsigned NextTickDelay(int millisecond);

// How many of the computer's seconds one second of sidereal time lasts.
constexpr double kSiderealSecondInSolarSeconds = 0.99726957;

// The wait, in milliseconds, from a reading `fraction` (0 to 1) into the current second of a
// scale whose seconds last `secondLength` of the computer's, until kTickMarginMs after the
// scale's next whole second. A fraction outside 0 to 1 (or not a number) counts as the
// nearest end (or 0); a second length outside (0, 1] as the computer's own.
unsigned NextScaleTickDelay(double fraction, double secondLength);

// The fraction of its second that a reading in hours has reached (0 to 1), as its text shows
// it in FormatClockTextCut.
double SecondFractionOf(double hours);
