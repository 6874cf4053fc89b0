// Reading the clock in every TimeKind, with daylight saving and its per-year cache.
#include <gtest/gtest.h>

#include <cstdio>

#include "astro/clock_reading.h"
#include "astro/clock_reading_probe.h"
#include "astro/julian.h"
#include "fake_platform.h"

namespace {

Location Eastern(int dst) {
  Location l{};
  std::snprintf(l.name, sizeof l.name, "Test");
  l.hemisphere = kWest;
  l.longitude = 77.0;
  l.zone = -5.0;
  l.dst = dst;
  return l;
}

class ClockReading : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
};

struct Reading {
  CivilTime local;
  int dst;
  double lmt, ut, gst, lst;
};

TEST_F(ClockReading, WorkedReadings) {
  const Reading readings[] = {
      {{1999, 7, 1, 12, 0, 0}, 1, 12.0, 15.99999999627471, 10.617694592935948, 5.484361259602615},
      {{1999, 7, 1, 12, 0, 0}, 0, 12.0, 17.00000000372529, 11.620432600406929, 6.487099267073596},
      {{1999, 12, 31, 20, 0, 0}, 0, 20.00000000372529, 1.0000000074505806, 7.667236481798788,
       2.5339031484654555},
  };
  for (const Reading &r : readings) {
    SCOPED_TRACE(testing::Message() << r.local.month << "/" << r.local.day << " dst " << r.dst);
    g_fake.now = r.local;
    const Location l = Eastern(r.dst);
    EXPECT_EQ(ReadClock(kLmt12, l), r.lmt);
    EXPECT_EQ(ReadClock(kLmt24, l), r.lmt);
    EXPECT_EQ(ReadClock(kUt, l), r.ut);
    EXPECT_EQ(ReadClock(kGst, l), r.gst);
    EXPECT_EQ(ReadClock(kLst, l), r.lst);
  }
}

TEST_F(ClockReading, DaylightSavingBoundsAreInclusiveOnTheLocalClock) {
  struct Case {
    CivilTime local;
    double ut;
  } cases[] = {
      {{1999, 4, 4, 2, 0, 0}, 6.0},                               // already daylight time
      {{1999, 4, 4, 1, 59, 59}, 6.0 + 59.0 / 60 + 59.0 / 3600},   // not yet
      {{1999, 10, 31, 2, 0, 0}, 6.0},                             // still daylight time
      {{1999, 10, 31, 1, 30, 0}, 5.5},
      {{1999, 10, 31, 2, 0, 1}, 7.0 + 1.0 / 3600},                // standard time again
      {{2026, 3, 8, 2, 0, 0}, 6.0},                               // today's rule
      {{2026, 4, 1, 12, 0, 0}, 16.0},                             // old rule would say 17
      {{2026, 10, 31, 12, 0, 0}, 16.0},
      {{2026, 11, 1, 2, 0, 1}, 7.0 + 1.0 / 3600},
  };
  for (const Case &c : cases) {
    g_fake.now = c.local;
    EXPECT_NEAR(ReadClock(kUt, Eastern(1)), c.ut, 1e-7)
        << c.local.year << "-" << c.local.month << "-" << c.local.day << " " << c.local.hour
        << ":" << c.local.minute << ":" << c.local.second;
  }
}

// The computer's own rules (code 2): UT is the local clock less the city's standard zone and
// less whatever the computer says its clock is ahead of standard time. The rows are what
// Windows reports in each place on either side of each change of 2026; codes 0 and 1 never
// look at it, and an unknown code reads as 1.
TEST_F(ClockReading, DaylightSavingCodesAgainstTheComputersRules) {
  struct Case {
    const char *where;
    double zone;
    int code;
    CivilTime local;
    double computerAhead;
    double ut;
  } cases[] = {
      {"London winter", 0.0, 2, {2026, 1, 15, 12, 0, 0}, 0.0, 12.0},
      {"London summer", 0.0, 2, {2026, 7, 15, 12, 0, 0}, 1.0, 11.0},
      {"London before spring", 0.0, 2, {2026, 3, 29, 0, 59, 59}, 0.0, 59.0 / 60 + 59.0 / 3600},
      {"London after spring", 0.0, 2, {2026, 3, 29, 2, 0, 0}, 1.0, 1.0},
      {"London before autumn", 0.0, 2, {2026, 10, 25, 1, 59, 59}, 1.0, 59.0 / 60 + 59.0 / 3600},
      {"London after autumn", 0.0, 2, {2026, 10, 25, 1, 0, 0}, 0.0, 1.0},
      {"Paris winter", 1.0, 2, {2026, 12, 1, 9, 0, 0}, 0.0, 8.0},
      {"Paris summer", 1.0, 2, {2026, 6, 1, 9, 0, 0}, 1.0, 7.0},
      {"Sydney summer", 10.0, 2, {2026, 1, 15, 9, 0, 0}, 1.0, 22.0},
      {"Sydney winter", 10.0, 2, {2026, 7, 15, 9, 0, 0}, 0.0, 23.0},
      {"Sydney before autumn", 10.0, 2, {2026, 4, 5, 2, 59, 59}, 1.0, 15.0 + 59.0 / 60 + 59.0 / 3600},
      {"Sydney after autumn", 10.0, 2, {2026, 4, 5, 2, 0, 0}, 0.0, 16.0},
      {"Havana before spring", -5.0, 2, {2026, 3, 7, 23, 59, 59}, 0.0, 4.0 + 59.0 / 60 + 59.0 / 3600},
      {"Havana after spring", -5.0, 2, {2026, 3, 8, 1, 0, 0}, 1.0, 5.0},
      {"Havana summer", -5.0, 2, {2026, 8, 1, 12, 0, 0}, 1.0, 16.0},
      {"Lord Howe summer", 10.5, 2, {2026, 1, 15, 12, 0, 0}, 0.5, 1.0},
      // Codes 0 and 1 read as they always have, whatever the computer says.
      {"code 0", -5.0, 0, {2026, 7, 1, 12, 0, 0}, 1.0, 17.0},
      {"code 1 summer", -5.0, 1, {2026, 7, 1, 12, 0, 0}, 0.0, 16.0},
      {"code 1 winter", -5.0, 1, {2026, 1, 15, 12, 0, 0}, 1.0, 17.0},
      {"code 7 as 1", -5.0, 7, {2026, 7, 1, 12, 0, 0}, 0.0, 16.0},
      {"code -1 as 1", -5.0, -1, {2026, 1, 15, 12, 0, 0}, 1.0, 17.0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.where);
    g_fake.now = c.local;
    g_fake.daylightHours = c.computerAhead;
    Location l = Eastern(c.code);
    l.zone = c.zone;
    EXPECT_NEAR(ReadClock(kUt, l), c.ut, 1e-7);
    // Local mean time is the computer's clock itself, in every code.
    EXPECT_NEAR(ReadClock(kLmt24, l),
                c.local.hour + c.local.minute / 60.0 + c.local.second / 3600.0, 1e-7);
    // The sidereal times take the same shift: as a city without daylight saving whose
    // zone already holds it.
    if (c.code == kComputerDaylightSaving) {
      Location shifted = l;
      shifted.dst = kNoDaylightSaving;
      shifted.zone = c.zone + c.computerAhead;
      EXPECT_EQ(ReadClock(kGst, l), ReadClock(kGst, shifted));
      EXPECT_EQ(ReadClock(kLst, l), ReadClock(kLst, shifted));
    }
  }
}

TEST_F(ClockReading, LocalMeanTimeIgnoresDaylightSaving) {
  for (int day : {1, 15}) {
    SetFakeClock(2026, 7, day, 9, 30, 0);
    EXPECT_EQ(ReadClock(kLmt24, Eastern(1)), ReadClock(kLmt24, Eastern(0)));
  }
}

TEST_F(ClockReading, WholeSecondNoiseAndMidnight) {
  SetFakeClock(1999, 7, 1, 1, 0, 0);
  EXPECT_EQ(ReadClock(kLmt24, Eastern(0)), 0.9999999962747097);
  SetFakeClock(1999, 7, 1, 0, 0, 0);
  EXPECT_EQ(ReadClock(kLmt24, Eastern(0)), 0.0);
}

TEST_F(ClockReading, FractionalZonesAreNotRounded) {
  Location india = Eastern(0);
  india.zone = 5.5;
  india.hemisphere = kEast;
  SetFakeClock(2026, 1, 15, 12, 0, 0);
  EXPECT_NEAR(ReadClock(kUt, india), 6.5, 1e-7);
  Location newfoundland = Eastern(0);
  newfoundland.zone = -3.5;
  EXPECT_NEAR(ReadClock(kUt, newfoundland), 15.5, 1e-7);
}

TEST_F(ClockReading, CacheIsFilledPerLocalYearOnlyWhenNeeded) {
  SetFakeClock(2003, 6, 1, 12, 0, 0);
  ReadClock(kUt, Eastern(1));
  ASSERT_EQ(DaylightSavingCacheYear(), 2003);

  // LMT readings and readings without the flag neither use nor change it.
  SetFakeClock(2010, 6, 1, 12, 0, 0);
  ReadClock(kLmt12, Eastern(1));
  ReadClock(kGst, Eastern(0));
  EXPECT_EQ(DaylightSavingCacheYear(), 2003);

  // A new local year refills it at the first reading that needs it.
  SetFakeClock(2011, 1, 1, 0, 0, 5);
  ReadClock(kLst, Eastern(1));
  EXPECT_EQ(DaylightSavingCacheYear(), 2011);
  double start = 0, end = 0, wantStart = 0, wantEnd = 0;
  DaylightSavingCacheBounds(&start, &end);
  UsDaylightSavingWindow(2011, &wantStart, &wantEnd);
  EXPECT_EQ(start, wantStart);
  EXPECT_EQ(end, wantEnd);
}

}  // namespace
