// Reading the clock: the hours value to show for a TimeKind at a Location. Portable.
#pragma once

#include "location/location.h"

// The five time scales the clock can show.
enum TimeKind : int {
  kLmt12 = 0,  // local mean time, 12-hour form
  kLmt24 = 1,  // local mean time, 24-hour form
  kUt = 2,     // universal time
  kLst = 3,    // local sidereal time
  kGst = 4,    // Greenwich sidereal time
};
constexpr int kTimeKindCount = 5;

// Julian day of the local clock's current reading (whole seconds).
double LocalClockJulianDay();

// The time of day to show, in hours: [0, 24) for the LMT kinds and UT, [0, 24] for the
// sidereal kinds. Reads the local clock once. UT and the sidereal kinds take the Location's
// zone plus the daylight-saving hour its code gives: the US rules by year, or whatever the
// computer's time-zone settings say now; or, while Universal Time is taken from the computer,
// the computer's own offset from its UTC. The sidereal kinds also take the reading's
// milliseconds, and are mean or apparent, with DUT1, as chosen (astro/apparent.h).
double ReadClock(int kind, const Location &location);

// The zone that takes the local clock to UT at this Location now, by the city's own rules:
// its standard zone plus the daylight-saving hour its code gives (jdLocal: the local clock).
double CityZoneAt(const Location &location, double jdLocal);

// The city's UT now (the local clock less its zone and daylight saving) against the
// computer's UTC: true when they differ by a minute or more. Both readings, as hours of the
// day, go to the two outputs.
bool CityDisagreesWithComputer(const Location &location, double *cityUt, double *computerUt);
