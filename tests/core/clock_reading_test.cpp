// Reading the clock in every TimeKind, with daylight saving and its per-year cache.
#include <gtest/gtest.h>

#include <cstdio>

#include "astro/clock_reading.h"
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
