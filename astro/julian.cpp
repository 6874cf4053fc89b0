// Julian day and calendar conversions, weekdays and US daylight-saving dates. Portable.
#include "astro/julian.h"

#include <climits>
#include <cmath>

namespace {

// Keeps every intermediate of the date arithmetic far from the limits of long long.
constexpr double kLongLimit = 4611686018427387904.0;  // 2^62

int ClampToInt(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

constexpr double kTwoHours = 1.0 / 12.0;

// The first Sunday on or after the given date, at 0h: the search steps one day at a time
// from the date itself, exactly as the daylight-saving rules are worded.
double FirstSundayFrom(int day, int month, int year) {
  double jd = JulianDayFromDate(static_cast<double>(day), month, year) - 1.0;
  double d = 0.0;
  int m = 0;
  int y = 0;
  do {
    jd = jd + 1.0;
    DateFromJulianDay(jd, &d, &m, &y);
  } while (DayOfWeek(TruncToInt(d), m, y) != 0);
  return jd;
}

// The last Sunday on or before the day before (day, month), at 0h, searching backwards.
double LastSundayBefore(int day, int month, int year) {
  double jd = JulianDayFromDate(static_cast<double>(day), month, year);
  double d = 0.0;
  int m = 0;
  int y = 0;
  do {
    jd = jd - 1.0;
    DateFromJulianDay(jd, &d, &m, &y);
  } while (DayOfWeek(TruncToInt(d), m, y) != 0);
  return jd;
}

}  // namespace

long long TruncToLong(double x) {
  if (std::isnan(x)) return 0;
  if (x >= kLongLimit) return static_cast<long long>(kLongLimit);
  if (x <= -kLongLimit) return -static_cast<long long>(kLongLimit);
  return static_cast<long long>(x);
}

int TruncToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return INT_MAX;
  if (x <= -2147483648.0) return INT_MIN;
  return static_cast<int>(x);
}

double JulianDayFromDate(double day, int month, int year) {
  // Years 0 and below need the truncation below to land on the right day.
  const double corr = year <= 0 ? 0.75 : 0.0;
  long long y = year;
  long long m = month;
  if (month == 1 || month == 2) {  // counted as months 13 and 14 of the year before
    y = static_cast<long long>(year) - 1;
    m = static_cast<long long>(month) + 12;
  }
  long long g = 0;
  const double yd0 = static_cast<double>(y);
  if (yd0 * 10000.0 + static_cast<double>(m) * 100.0 + day >= 15821015.0) {
    const long long a = TruncToLong(yd0 * 0.01);
    g = 2 - a + a / 4;
  }
  const long long yd = TruncToLong(365.25 * yd0 - corr);
  const long long md = TruncToLong(30.6001 * static_cast<double>(m + 1));
  return static_cast<double>(g + yd + md) + day + 1720994.5;
}

void DateFromJulianDay(double julianDay, double *day, int *month, int *year) {
  const double s = julianDay + 0.5;
  const long long z = TruncToLong(s);
  const double f = FractionalPart(s);
  long long a = z;
  if (z > 2299160) {
    const long long alpha =
        TruncToLong((static_cast<double>(z) - 1867216.25) * (1.0 / 36524.25));
    a = z + 1 + alpha - alpha / 4;
  }
  const long long b = a + 1524;
  const long long c = TruncToLong((static_cast<double>(b) - 122.1) * (1.0 / 365.25));
  const long long d = TruncToLong(365.25 * static_cast<double>(c));
  const long long e = TruncToLong(static_cast<double>(b - d) * (1.0 / 30.6001));
  *day = static_cast<double>(b - d - TruncToLong(30.6001 * static_cast<double>(e))) + f;
  const long long mo = e <= 13 ? e - 1 : e - 13;
  *month = ClampToInt(mo);
  *year = ClampToInt(mo > 2 ? c - 4716 : c - 4715);
}

int DayOfWeek(int day, int month, int year) {
  const double jd = JulianDayFromDate(static_cast<double>(day), month, year);
  return static_cast<int>(TruncToLong(jd + 1.5) % 7);
}

void UsDaylightSavingWindow(int year, double *start, double *end) {
  // The US rules as they stood in each year; every change falls at 02:00 local clock.
  if (year >= 2007) {
    *start = FirstSundayFrom(8, 3, year);   // second Sunday of March
    *end = FirstSundayFrom(1, 11, year);    // first Sunday of November
  } else if (year >= 1987) {
    *start = FirstSundayFrom(1, 4, year);   // first Sunday of April
    *end = LastSundayBefore(1, 11, year);   // last Sunday of October
  } else if (year == 1975) {
    *start = JulianDayFromDate(23.0, 2, year);
    *end = JulianDayFromDate(26.0, 10, year);
  } else if (year == 1974) {
    *start = JulianDayFromDate(6.0, 1, year);
    *end = JulianDayFromDate(27.0, 10, year);
  } else {                                  // 1976-1986, and 1973 and before
    *start = LastSundayBefore(1, 5, year);  // last Sunday of April
    *end = LastSundayBefore(1, 11, year);   // last Sunday of October
  }
  *start = *start + kTwoHours;
  *end = *end + kTwoHours;
}

int RoundHalfUp(double x) { return TruncToInt(x + 0.5); }

double Square(double x) { return x * x; }

double FractionalPart(double x) {
  double whole = 0.0;
  return std::modf(x, &whole);
}

int SignOf(double x) { return x >= 0.0 ? 1 : -1; }
