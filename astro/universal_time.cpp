// The computer's UTC as the clock reads it, and the check of a city's zone against it.
// Portable.
#include "astro/universal_time.h"

#include <cmath>

#include "astro/clock_reading.h"
#include "astro/julian.h"
#include "support/hooks.h"

namespace {

bool g_fromComputer = false;

double JulianDayOf(const CivilTime &t) {
  const double dayWithFraction =
      t.day + ((t.second * (1.0 / 3600.0) + t.minute * (1.0 / 60.0)) + t.hour) * (1.0 / 24.0);
  return JulianDayFromDate(dayWithFraction, t.month, t.year);
}

double HoursOfDay(double jd) {
  double d = 0.0;
  int m = 0;
  int y = 0;
  DateFromJulianDay(jd, &d, &m, &y);
  return FractionalPart(d) * 24.0;
}

}  // namespace

bool UniversalTimeFromComputer() { return g_fromComputer; }

void SetUniversalTimeFromComputer(bool on) { g_fromComputer = on; }

double ComputerUniversalJulianDay() {
  CivilTime now{};
  g_platform.readUniversalTime(&now);
  return JulianDayOf(now);
}

double ComputerZoneHours(double jdLocal) {
  const double minutes = std::round((jdLocal - ComputerUniversalJulianDay()) * 1440.0);
  return minutes / 60.0;
}

bool CityDisagreesWithComputer(const Location &location, double *cityUt, double *computerUt) {
  const double jdLocal = LocalClockJulianDay();
  const double jdCity = jdLocal - CityZoneAt(location, jdLocal) * (1.0 / 24.0);
  const double jdComputer = ComputerUniversalJulianDay();
  *cityUt = HoursOfDay(jdCity);
  *computerUt = HoursOfDay(jdComputer);
  // Whole seconds apart; the Julian days carry a little noise below that.
  const double seconds = std::round((jdCity - jdComputer) * 86400.0);
  return std::fabs(seconds) >= 60.0;
}
