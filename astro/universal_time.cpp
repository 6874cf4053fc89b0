// The computer's UTC as the clock reads it, and the choice of taking UT from it. Portable.
#include "astro/universal_time.h"

#include <cmath>

#include "astro/julian.h"
#include "support/hooks.h"

namespace {

bool g_fromComputer = false;

double JulianDayOf(const CivilTime &t) {
  const double dayWithFraction =
      t.day + ((t.second * (1.0 / 3600.0) + t.minute * (1.0 / 60.0)) + t.hour) * (1.0 / 24.0);
  return JulianDayFromDate(dayWithFraction, t.month, t.year);
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
