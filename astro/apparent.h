// Sidereal time from the Earth's rotation: IAU 2006 mean sidereal time from the Earth
// rotation angle, and apparent sidereal time (the equation of the equinoxes added), for a
// UTC instant with the user's DUT1; and the two choices that select it. Portable.
#pragma once

#include "location/location.h"
#include "support/hooks.h"

// The user's choices: apparent (true) or mean (false) sidereal time; DUT1 = UT1 - UTC in
// whole milliseconds. Both start off (mean, 0). DUT1 is never more than 0.9 s either way:
// anything beyond -900..900 counts as 0, so that a damaged setting cannot move the clock.
bool ApparentSiderealTime();
void SetApparentSiderealTime(bool on);
int Dut1Milliseconds();
void SetDut1Milliseconds(int milliseconds);
constexpr int kDut1LimitMs = 900;

// TT less UTC, in seconds: TAI - UTC of the present leap seconds plus 32.184 s. Between
// 1900 and 2100 the true value moves by over a minute, which changes sidereal time by well
// under a millisecond.
constexpr double kTtMinusUtcSeconds = 69.184;

// The Earth rotation angle, in radians [0, 2 pi), at UT1 given as a Julian day in two parts.
double EarthRotationAngle(double ut1Day, double ut1Fraction);

// Greenwich sidereal time in hours, [0, 24), at the UTC instant utcDay + utcFraction (a
// Julian day in two parts: utcDay best a whole day, x.5, and utcFraction the rest), with
// DUT1 in milliseconds. Apparent: IAU 2006 mean sidereal time plus the equation of the
// equinoxes of IAU 2000B nutation. Mean: the clock's own per-year formula on UT1, so that
// with DUT1 0 it is the mean scale exactly as always (its range then [0, 24]).
double GreenwichSiderealAt(double utcDay, double utcFraction, int dut1Ms, bool apparent);

// The sidereal reading of one reading of the local clock: Greenwich (local false) or local
// sidereal time in hours, mean or apparent as chosen, with DUT1. jdUt is the reading's UT as
// a Julian day to the whole second, clock the reading itself (its milliseconds are added
// here, 0 to 999), zoneHours what was taken off it to reach UT. With no milliseconds, mean
// time and DUT1 0 this is the mean scale exactly as always.
double SiderealReading(bool local, const Location &location, double jdUt, const CivilTime &clock,
                       double zoneHours);
