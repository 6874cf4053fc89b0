// Sidereal time: the clock's GST and LST scales. Portable.
#include "astro/sidereal.h"

#include <cmath>

#include "astro/julian.h"

double SiderealYearConstant(int year) {
  const double jd0 = JulianDayFromDate(0.0, 1, year);  // January 0.0
  const double t = (jd0 - 2415020.0) * (1.0 / 36525.0);
  const double r = 0.00002581 * Square(t) + 2400.051262 * t + 6.6460656 -
                   24.0 * (static_cast<double>(year) - 1900.0);
  return 24.0 - r;
}

double GreenwichSiderealTime(double ut, int day, int month, int year) {
  const double jd = JulianDayFromDate(static_cast<double>(day), month, year);
  const double jd0 = JulianDayFromDate(0.0, 1, year);
  double t0 = (jd - jd0) * 0.0657098;
  t0 = t0 - SiderealYearConstant(year);
  double g = t0 + ut * 1.002738;
  // One step each way is enough for a UT date within its year and UT below 24 hours.
  if (g > 24.0) g = g - 24.0;
  if (g < 0.0) g = g + 24.0;
  return g;
}

double LocalSiderealTime(double gst, const Location &location) {
  const double h = location.longitude * (1.0 / 15.0);  // degrees to hours
  double v = location.hemisphere == kWest ? gst - h : gst + h;
  if (v > 24.0) v = v - 24.0;
  if (v < 0.0) v = v + 24.0;
  // A hand-edited file can hold any longitude (400 degrees East is 40 East): reduce what
  // one step each way did not bring into the day.
  if (!(v >= 0.0 && v <= 24.0)) {
    v = std::isfinite(v) ? std::fmod(v, 24.0) : 0.0;
    if (v < 0.0) v = v + 24.0;
    if (v >= 24.0) v = 0.0;  // -1e-17 + 24 rounds to 24
  }
  return v;
}
