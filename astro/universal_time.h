// The computer's own UTC, and the choice of taking Universal Time from it rather than from
// the local clock less the city's zone. Portable: UTC comes through the platform hook.
#pragma once

// The user's choice: true while UT, GST and LST follow the computer's UTC. Starts false.
bool UniversalTimeFromComputer();
void SetUniversalTimeFromComputer(bool on);

// Julian day of the computer's UTC reading (whole seconds).
double ComputerUniversalJulianDay();

// How far the computer's local clock (jdLocal) is ahead of its UTC, in hours, to the minute:
// no zone keeps seconds, and a second that turns between the two readings is not counted.
double ComputerZoneHours(double jdLocal);
