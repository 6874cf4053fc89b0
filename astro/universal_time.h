// Where Universal Time comes from: the local clock less the city's zone, or the computer's
// own UTC; and whether the two disagree. Portable: UTC comes through the platform hook.
#pragma once

#include "location/location.h"

// The user's choice: true while UT, GST and LST follow the computer's UTC. Starts false.
bool UniversalTimeFromComputer();
void SetUniversalTimeFromComputer(bool on);

// Julian day of the computer's UTC reading (whole seconds).
double ComputerUniversalJulianDay();

// How far the computer's local clock (jdLocal) is ahead of its UTC, in hours, to the minute:
// no zone keeps seconds, and a second that turns between the two readings is not counted.
double ComputerZoneHours(double jdLocal);

// The city's UT now (the local clock less its zone and daylight saving) against the
// computer's UTC: true when they differ by a minute or more. Both readings, as hours of the
// day, go to the two outputs.
bool CityDisagreesWithComputer(const Location &location, double *cityUt, double *computerUt);
