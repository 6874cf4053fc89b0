// Mean sidereal time from the Earth rotation angle, apparent sidereal time from it and the
// nutation (worked out at most once a minute), and the user's choice between them. Portable.
#include "astro/apparent.h"

#include <cmath>

#include "astro/apparent_probe.h"
#include "astro/julian.h"
#include "astro/nutation.h"
#include "astro/sidereal.h"

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kTwoPi = 6.283185307179586476925287;
constexpr double kRadiansPerArcsecond = 4.848136811095359935899141e-6;
constexpr double kHoursPerRadian = 12.0 / 3.141592653589793238462643;

bool g_apparent = false;
int g_dut1Ms = 0;

// The equation of the equinoxes moves by microseconds in a minute: the 77-term series is
// worked out once for each minute of TT, at its start, and kept.
bool g_eeValid = false;
long long g_eeMinute = 0;
double g_eeRadians = 0.0;
long g_evaluations = 0;

double EquationOfEquinoxesForMinute(long long minute) {
  if (!g_eeValid || minute != g_eeMinute) {
    const double fraction = static_cast<double>(minute) * (1.0 / 1440.0);
    double dpsi = 0.0;
    double deps = 0.0;
    NutationInLongitudeAndObliquity(kJ2000, fraction, &dpsi, &deps);
    const double trueObliquity = MeanObliquity(kJ2000, fraction) + deps;
    g_eeRadians = dpsi * std::cos(trueObliquity) + EquinoxComplementaryTerms(kJ2000, fraction);
    g_eeMinute = minute;
    g_eeValid = true;
    ++g_evaluations;
  }
  return g_eeRadians;
}

double ReducedHours(double radians) {
  double h = std::fmod(radians * kHoursPerRadian, 24.0);
  if (h < 0.0) h += 24.0;
  if (!(h >= 0.0 && h < 24.0)) h = 0.0;  // -1e-17 + 24 rounds to 24; not a number reads 0
  return h;
}

// The mean scale as the clock always computed it, on the UT1 date and hours.
double PerYearGreenwichSidereal(double jdUt1) {
  double d = 0.0;
  int m = 0;
  int y = 0;
  DateFromJulianDay(jdUt1, &d, &m, &y);
  const double ut = FractionalPart(d) * 24.0;
  return GreenwichSiderealTime(ut, TruncToInt(d), m, y);
}

}  // namespace

bool ApparentSiderealTime() { return g_apparent; }
void SetApparentSiderealTime(bool on) { g_apparent = on; }
int Dut1Milliseconds() { return g_dut1Ms; }

void SetDut1Milliseconds(int milliseconds) {
  g_dut1Ms = milliseconds >= -kDut1LimitMs && milliseconds <= kDut1LimitMs ? milliseconds : 0;
}

double EarthRotationAngle(double ut1Day, double ut1Fraction) {
  const double t = (ut1Day - kJ2000) + ut1Fraction;
  // The whole turns of the days are dropped before the rate multiplies, to keep the digits.
  const double f = std::fmod(ut1Day, 1.0) + std::fmod(ut1Fraction, 1.0);
  double theta =
      std::fmod(kTwoPi * (f + 0.7790572732640 + 0.00273781191135448 * t), kTwoPi);
  if (theta < 0.0) theta += kTwoPi;
  return theta;
}

double GreenwichSiderealAt(double utcDay, double utcFraction, int dut1Ms, bool apparent) {
  const double dut1Days = dut1Ms * (1.0 / 86400000.0);
  if (!apparent) return PerYearGreenwichSidereal(utcDay + utcFraction + dut1Days);

  const double ut1Fraction = utcFraction + dut1Days;
  const double ttFraction = utcFraction + kTtMinusUtcSeconds * (1.0 / 86400.0);
  const double t = ((utcDay - kJ2000) + ttFraction) * (1.0 / 36525.0);  // TT centuries
  const double precession =
      (0.014506 +
       (4612.156534 + (1.3915817 + (-0.00000044 + (-0.000029956 - 0.0000000368 * t) * t) * t) * t) *
           t) *
      kRadiansPerArcsecond;
  const double gmst = EarthRotationAngle(utcDay, ut1Fraction) + precession;
  const long long minute = TruncToLong(std::floor(((utcDay - kJ2000) + ttFraction) * 1440.0));
  return ReducedHours(gmst + EquationOfEquinoxesForMinute(minute));
}

void ForgetNutation() { g_eeValid = false; }

long NutationEvaluations() { return g_evaluations; }

double SiderealReading(bool local, const Location &location, double jdUt, const CivilTime &clock,
                       double zoneHours) {
  int ms = clock.millisecond;
  if (ms < 0 || ms > 999) ms = 0;
  double gst = 0.0;
  if (!g_apparent) {
    gst = GreenwichSiderealAt(jdUt, ms * (1.0 / 86400000.0), g_dut1Ms, false);
  } else {
    // Apparent time wants better than the 40 microseconds a one-part Julian day near 2.4
    // million resolves: the whole day of the local date apart, the time of day beside it.
    const double day = JulianDayFromDate(clock.day, clock.month, clock.year);
    const double seconds = clock.hour * 3600.0 + clock.minute * 60.0 + clock.second +
                           ms * 0.001 - zoneHours * 3600.0;
    gst = GreenwichSiderealAt(day, seconds * (1.0 / 86400.0), g_dut1Ms, true);
  }
  return local ? LocalSiderealTime(gst, location) : gst;
}
