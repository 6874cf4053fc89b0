// Calendar arithmetic: worked values, the calendar switch, and the US daylight-saving dates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "astro/julian.h"

namespace {

struct DateCase {
  double day;
  int month;
  int year;
  double jd;
};

// Both directions hold exactly for these (day fraction included).
const DateCase kRoundTrips[] = {
    {1.5, 1, 2000, 2451545.0},   {15.0, 10, 1582, 2299160.5}, {4.0, 10, 1582, 2299159.5},
    {1.5, 1, -4712, 0.0},        {1.0, 1, 1583, 2299238.5},   {1.0, 1, 2000, 2451544.5},
    {31.0, 12, 1979, 2444238.5}, {20.0, 10, 1582, 2299165.5},
};

TEST(JulianDay, WorkedValuesConvertBothWays) {
  for (const DateCase &c : kRoundTrips) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    EXPECT_EQ(JulianDayFromDate(c.day, c.month, c.year), c.jd);
    double day = -1;
    int month = -1, year = -1;
    DateFromJulianDay(c.jd, &day, &month, &year);
    EXPECT_EQ(day, c.day);
    EXPECT_EQ(month, c.month);
    EXPECT_EQ(year, c.year);
  }
}

TEST(JulianDay, DatesThatOnlyConvertOneWay) {
  // Day 0 of January is the last day of December; dates in the gap count as Julian.
  EXPECT_EQ(JulianDayFromDate(0.0, 1, 1980), 2444238.5);
  EXPECT_EQ(JulianDayFromDate(10.0, 10, 1582), 2299165.5);
  // A Julian day ending in .0 is noon.
  double day = 0;
  int month = 0, year = 0;
  DateFromJulianDay(2451545.0, &day, &month, &year);
  EXPECT_EQ(FractionalPart(day), 0.5);
}

TEST(JulianDay, ConsecutiveDaysAcrossCenturiesAreOneApart) {
  // Every calendar day from 1583 to 2400 maps to the next Julian day and back, which catches
  // an off-by-one in the leap-year terms that single worked values can miss.
  double previous = JulianDayFromDate(31.0, 12, 1582);
  const int daysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int year = 1583; year <= 2400; ++year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int month = 1; month <= 12; ++month) {
      const int n = daysIn[month - 1] + (month == 2 && leap ? 1 : 0);
      for (int d = 1; d <= n; ++d) {
        const double jd = JulianDayFromDate(d, month, year);
        ASSERT_EQ(jd, previous + 1.0) << year << "-" << month << "-" << d;
        double back = 0;
        int bm = 0, by = 0;
        DateFromJulianDay(jd, &back, &bm, &by);
        ASSERT_EQ(back, d);
        ASSERT_EQ(bm, month);
        ASSERT_EQ(by, year);
        previous = jd;
      }
    }
  }
}

TEST(JulianDay, WeekdayFollowsTheCalendar) {
  EXPECT_EQ(DayOfWeek(1, 1, 2000), 6);   // Saturday
  EXPECT_EQ(DayOfWeek(4, 4, 1999), 0);   // Sunday
  EXPECT_EQ(DayOfWeek(7, 12, 2026), 1);  // Monday
  EXPECT_EQ(DayOfWeek(15, 10, 1582), 5); // the first Gregorian day was a Friday
}

TEST(JulianDay, ExtremeArgumentsGiveDefinedResults) {
  // Nothing checks its arguments, but nothing may be undefined either.
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // (Under the sanitizers an undefined conversion here ends the test run.)
  // Years beyond an int saturate instead of wrapping round to an ordinary-looking year.
  for (double jd : {1e300, -1e300, inf, -inf, 9.2e18}) {
    double day = 0;
    int month = 0, year = 0;
    DateFromJulianDay(jd, &day, &month, &year);
    EXPECT_EQ(year, jd > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min()) << jd;
  }
  double day = 0;
  int month = 0, year = 0;
  // Not a number gives a real month and leaves the day not a number: never a date that
  // looks like an ordinary one.
  DateFromJulianDay(nan, &day, &month, &year);
  EXPECT_TRUE(month >= 1 && month <= 12) << month;
  EXPECT_TRUE(std::isnan(day)) << day;
  EXPECT_TRUE(std::isfinite(JulianDayFromDate(1.0, 1, std::numeric_limits<int>::max())));
  EXPECT_TRUE(std::isfinite(JulianDayFromDate(1.0, 1, std::numeric_limits<int>::min())));
  EXPECT_EQ(TruncToInt(nan), 0);
  EXPECT_EQ(TruncToInt(1e10), std::numeric_limits<int>::max());
  EXPECT_EQ(TruncToInt(-1e10), std::numeric_limits<int>::min());
  EXPECT_EQ(TruncToInt(-2.9), -2);
}

TEST(NumericHelpers, WorkedValues) {
  EXPECT_EQ(RoundHalfUp(59.5), 60);
  EXPECT_EQ(RoundHalfUp(59.49), 59);
  EXPECT_EQ(RoundHalfUp(-1.7), -1);  // truncation toward zero, as its callers expect
  EXPECT_EQ(Square(-3.0), 9.0);
  EXPECT_EQ(FractionalPart(2.75), 0.75);
  EXPECT_EQ(FractionalPart(-2.75), -0.75);
  EXPECT_EQ(SignOf(0.0), 1);
  EXPECT_EQ(SignOf(-0.5), -1);
  EXPECT_EQ(SignOf(3.0), 1);
}

// ---- US daylight saving ----

struct RuleCase {
  int year;
  int startMonth, startDay;
  int endMonth, endDay;
};

// Dates taken from a calendar, one or more for each rule in force. (The Julian days of these
// dates are pinned for every day from 1583 to 2400 by the JulianDay tests above.)
const RuleCase kRuleDates[] = {
    {2026, 3, 8, 11, 1},   {2025, 3, 9, 11, 2},   {2024, 3, 10, 11, 3},
    {2007, 3, 11, 11, 4},  {2006, 4, 2, 10, 29},  {2001, 4, 1, 10, 28},
    {2000, 4, 2, 10, 29},  {1999, 4, 4, 10, 31},  {1998, 4, 5, 10, 25},
    {1987, 4, 5, 10, 25},  {1986, 4, 27, 10, 26}, {1976, 4, 25, 10, 31},
    {1975, 2, 23, 10, 26}, {1974, 1, 6, 10, 27},  {1973, 4, 29, 10, 28},
    {1967, 4, 30, 10, 29}, {1950, 4, 30, 10, 29},
};

TEST(DaylightSavingWindow, FollowsTheRuleInForceEachYear) {
  for (const RuleCase &c : kRuleDates) {
    double start = 0, end = 0;
    UsDaylightSavingWindow(c.year, &start, &end);
    EXPECT_EQ(start, JulianDayFromDate(c.startDay, c.startMonth, c.year) + 1.0 / 12.0) << c.year;
    EXPECT_EQ(end, JulianDayFromDate(c.endDay, c.endMonth, c.year) + 1.0 / 12.0) << c.year;
  }
}

// Weekday by Sakamoto's method, independent of the Julian-day code.
int SakamotoWeekday(int y, int m, int d) {
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

TEST(DaylightSavingWindow, EveryYearStartsAndEndsOnASundayAt0200) {
  for (int year = 1900; year <= 2100; ++year) {
    if (year == 1974 || year == 1975) continue;  // fixed dates that year
    double start = 0, end = 0;
    UsDaylightSavingWindow(year, &start, &end);
    for (double bound : {start, end}) {
      double day = 0;
      int month = 0, y = 0;
      DateFromJulianDay(bound, &day, &month, &y);
      const int whole = static_cast<int>(day);
      EXPECT_EQ(y, year);
      EXPECT_NEAR(day - whole, 2.0 / 24.0, 1e-9) << year;
      EXPECT_EQ(SakamotoWeekday(y, month, whole), 0) << year << "-" << month << "-" << whole;
      // Sundays of a given week of the month: the rule is pinned by its first or last week.
      if (year >= 2007) {
        EXPECT_TRUE(bound == start ? (month == 3 && whole >= 8 && whole <= 14)
                                   : (month == 11 && whole <= 7));
      } else if (year >= 1987) {
        EXPECT_TRUE(bound == start ? (month == 4 && whole <= 7) : (month == 10 && whole >= 25));
      } else {
        EXPECT_TRUE(bound == start ? (month == 4 && whole >= 24) : (month == 10 && whole >= 25));
      }
    }
  }
}

}  // namespace
