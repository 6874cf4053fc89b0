// Sidereal time: worked values and the one-step normalisation.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/julian.h"
#include "astro/sidereal.h"

namespace {

Location At(double longitude, int hemisphere) {
  Location l{};
  l.longitude = longitude;
  l.hemisphere = hemisphere;
  return l;
}

TEST(Sidereal, YearConstantWorkedValues) {
  EXPECT_EQ(SiderealYearConstant(1980), 17.411473016848277);
  EXPECT_EQ(SiderealYearConstant(1999), 17.38529700332856);
}

TEST(Sidereal, GreenwichWorkedValue) {
  // 1980 April 22, 14h 36m 51.67s UT.
  EXPECT_EQ(GreenwichSiderealTime(14.614352777777777, 22, 4, 1980), 4.668101258835055);
}

TEST(Sidereal, LocalShiftsByLongitude) {
  struct Case {
    double longitude;
    int hemisphere;
    double expected;
  } cases[] = {
      {64.0, kWest, 0.40143459216838817},
      {15.0, kEast, 5.668101258835055},
      {15.0, kNorth, 5.668101258835055},  // only West counts as west
      {15.0, kSouth, 5.668101258835055},
      {0.0, kWest, 4.668101258835055},
      {0.0, kEast, 4.668101258835055},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(LocalSiderealTime(4.668101258835055, At(c.longitude, c.hemisphere)), c.expected)
        << c.longitude << " " << c.hemisphere;
  }
}

TEST(Sidereal, NormalisesOnceEachWayAndKeeps24) {
  EXPECT_EQ(LocalSiderealTime(23.0, At(15.0, kEast)), 24.0);   // not reduced to 0
  EXPECT_EQ(LocalSiderealTime(23.0, At(30.0, kEast)), 1.0);
  EXPECT_EQ(LocalSiderealTime(1.0, At(30.0, kWest)), 23.0);
  EXPECT_EQ(LocalSiderealTime(0.0, At(0.0, kWest)), 0.0);
  // On 1980 November 20 at this UT the sum is exactly 24 hours: kept, not reduced to 0.
  EXPECT_EQ(GreenwichSiderealTime(20.00102520982378, 20, 11, 1980), 24.0);
}

TEST(Sidereal, AnyLongitudeIsReducedIntoTheDay) {
  // A hand-edited file can hold any longitude: 400 degrees East is 40 degrees East.
  const double gst = 4.668101258835055;
  EXPECT_NEAR(LocalSiderealTime(gst, At(400.0, kEast)), gst + 40.0 / 15.0, 1e-12);
  EXPECT_NEAR(LocalSiderealTime(gst, At(400.0, kWest)), gst - 40.0 / 15.0, 1e-12);
  for (double longitude : {-2147483648.0 + 99.0 / 60.0, 2147483647.0 + 99.0 / 60.0, 1e300,
                           -1e300, 725.0}) {
    for (int hemisphere : {kWest, kEast}) {
      const double v = LocalSiderealTime(gst, At(longitude, hemisphere));
      EXPECT_GE(v, 0.0) << longitude << " " << hemisphere;
      EXPECT_LT(v, 24.0) << longitude << " " << hemisphere;
    }
  }
}

TEST(Sidereal, DayTermCountsFromJanuaryZero) {
  // January 1 is one day after January 0.0; December 31 of a leap year is day 366. The
  // references are the IAU 1982 mean sidereal time at 0h UT (18.697374558 + 24.06570982441908
  // D hours, D days from 2000 January 1.5); a day counted wrong is 0.0657 hours off.
  EXPECT_NEAR(GreenwichSiderealTime(0.0, 1, 1, 1980), 6.65425226, 0.001);
  EXPECT_NEAR(GreenwichSiderealTime(0.0, 31, 12, 1980), 6.63833818, 0.001);
}

TEST(Sidereal, StaysInRangeThroughoutTwoCenturies) {
  for (int year = 1900; year <= 2100; year += 7) {
    for (int month = 1; month <= 12; ++month) {
      for (double ut : {0.0, 6.5, 12.0, 23.999}) {
        const double g = GreenwichSiderealTime(ut, 15, month, year);
        ASSERT_GE(g, 0.0);
        ASSERT_LE(g, 24.0);
      }
    }
  }
}

}  // namespace
