// The clock reading of every TimeKind, with the daylight-saving window cached per year, and
// the city's UT checked against the computer's. Portable: the clocks come through the hooks.
#include "astro/clock_reading.h"

#include "astro/apparent.h"
#include "astro/clock_reading_probe.h"

#include <cmath>

#include "astro/julian.h"
#include "astro/universal_time.h"
#include "support/hooks.h"

namespace {

// The window depends on the year alone, so it is worked out once a year, not every second.
double g_dstStart = -1.0;
double g_dstEnd = -1.0;
int g_dstYear = -1;

double HoursOfDay(double jd) {
  double d = 0.0;
  int m = 0;
  int y = 0;
  DateFromJulianDay(jd, &d, &m, &y);
  return FractionalPart(d) * 24.0;
}

// To the whole second: local mean time, UT and the daylight-saving bounds move in the
// computer's whole seconds; the milliseconds go to the sidereal scales alone.
double JulianDayOfReading(const CivilTime &now) {
  const double dayWithFraction =
      now.day + ((now.second * (1.0 / 3600.0) + now.minute * (1.0 / 60.0)) + now.hour) *
                    (1.0 / 24.0);
  return JulianDayFromDate(dayWithFraction, now.month, now.year);
}

}  // namespace

double LocalClockJulianDay() {
  CivilTime now{};
  g_platform.readLocalTime(&now);
  return JulianDayOfReading(now);
}

double CityZoneAt(const Location &location, double jdLocal) {
  double dL = 0.0;
  int mL = 0;
  int yL = 0;
  DateFromJulianDay(jdLocal, &dL, &mL, &yL);
  const std::int32_t rule = DaylightSavingOf(location.dst);
  if (rule == kUsDaylightSaving) {
    if (g_dstStart == -1.0 || g_dstEnd == -1.0 || g_dstYear != yL) {
      UsDaylightSavingWindow(yL, &g_dstStart, &g_dstEnd);
      g_dstYear = yL;
    }
    // The computer's clock is taken to include the daylight-saving hour: both bounds count.
    if (jdLocal >= g_dstStart && jdLocal <= g_dstEnd) return location.zone + 1.0;
  } else if (rule == kComputerDaylightSaving) {
    // The computer knows its own rules, whatever the country and the hemisphere, and which
    // side of a change a repeated hour lies on: its clock is ahead of the city's standard
    // zone by exactly what it says.
    return location.zone + g_platform.readDaylightHours();
  }
  return location.zone;
}

double ReadClock(int kind, const Location &location) {
  CivilTime now{};
  g_platform.readLocalTime(&now);
  const double jdLocal = JulianDayOfReading(now);
  double effectiveZone = location.zone;
  if (kind == kUt || kind == kLst || kind == kGst) {  // never local mean time
    // Taken from Windows, the zone is the computer's own offset: UT is then its UTC, by the
    // same arithmetic, so a computer in the city's zone shows the same either way.
    effectiveZone = UniversalTimeFromComputer() ? ComputerZoneHours(jdLocal)
                                                : CityZoneAt(location, jdLocal);
  }
  const double jdUt = jdLocal - effectiveZone * (1.0 / 24.0);

  double d = 0.0;
  int m = 0;
  int y = 0;
  switch (kind) {
    case kLmt12:
    case kLmt24:
      // Local mean time is the local clock's own time of day; never daylight-shifted.
      DateFromJulianDay(jdUt + location.zone * (1.0 / 24.0), &d, &m, &y);
      return FractionalPart(d) * 24.0;
    case kUt:
      DateFromJulianDay(jdUt, &d, &m, &y);
      return FractionalPart(d) * 24.0;
    default:
      // The sidereal scales also take the reading's milliseconds, so that their seconds can
      // be shown as the sky turns them, not as the computer's do.
      return SiderealReading(kind == kLst, location, jdUt, now, effectiveZone);
  }
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

int DaylightSavingCacheYear() { return g_dstYear; }

void DaylightSavingCacheBounds(double *start, double *end) {
  *start = g_dstStart;
  *end = g_dstEnd;
}
