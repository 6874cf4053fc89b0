// Apparent sidereal time and DUT1 through the clock reading, against ERFA's IAU 2006/2000A
// values (tools/apparent_reference.py), and the nutation worked out once a minute.
#include <gtest/gtest.h>

#include "astro/apparent.h"
#include "astro/apparent_probe.h"
#include "astro/clock_reading.h"
#include "fake_platform.h"

namespace {

// Zone 0 without daylight saving: the local clock is UTC.
Location WestOfGreenwich() {
  Location l{};
  l.hemisphere = kWest;
  l.longitude = 104.0 + 59.0 / 60 + 3.0 / 3600;
  return l;
}

class ApparentSidereal : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
};

struct Reference {
  CivilTime utc;
  int dut1Ms;
  double gast, last;  // hours
};

TEST_F(ApparentSidereal, AgreesWithErfaFrom1900To2100) {
  const Reference rows[] = {
      {{1900, 1, 1, 0, 0, 0, 0}, 0, 6.679219841445, 23.680275397000},
      {{1900, 1, 1, 0, 0, 0, 0}, -900, 6.678969156994, 23.680024712549},
      {{1925, 6, 15, 18, 30, 5, 250}, 412, 12.069425832523, 5.070481388078},
      {{1950, 1, 1, 0, 0, 0, 0}, 0, 6.671659264013, 23.672714819569},
      {{1969, 7, 20, 20, 17, 40, 0}, -184, 16.189858462583, 9.190914018138},
      {{1987, 4, 10, 19, 21, 0, 0}, 0, 8.582460229185, 1.583515784741},
      {{1999, 12, 31, 23, 59, 59, 999}, 355, 6.664381853152, 23.665437408708},
      {{2000, 1, 1, 12, 0, 0, 0}, 0, 18.697138157512, 11.698193713067},
      {{2026, 12, 8, 8, 14, 21, 437}, 0, 13.379774032334, 6.380829587890},
      {{2026, 12, 8, 8, 14, 21, 437}, 72, 13.379794087010, 6.380849642565},
      {{2029, 6, 30, 12, 0, 0, 500}, -310, 6.589668426802, 23.590723982358},
      {{2050, 3, 20, 6, 45, 30, 0}, 900, 18.625746938416, 11.626802493972},
      {{2075, 9, 9, 9, 9, 9, 9}, -657, 8.389726498791, 1.390782054346},
      {{2099, 12, 31, 23, 59, 59, 0}, 0, 6.715654815024, 23.716710370580},
  };
  // The abridged nutation series is good to about 0.2 ms of time (0.18 ms at worst over
  // the two centuries, read every day in bench/gst_accuracy).
  const double tolerance = 0.25e-3 / 3600.0;
  SetApparentSiderealTime(true);
  for (const Reference &r : rows) {
    SCOPED_TRACE(testing::Message() << r.utc.year << "-" << r.utc.month << "-" << r.utc.day
                                    << " DUT1 " << r.dut1Ms);
    g_fake.now = r.utc;
    SetDut1Milliseconds(r.dut1Ms);
    EXPECT_NEAR(ReadClock(kGst, WestOfGreenwich()), r.gast, tolerance);
    EXPECT_NEAR(ReadClock(kLst, WestOfGreenwich()), r.last, tolerance);
  }
}

// Milliseconds and DUT1 move GST and LST alone, mean or apparent: a reading half a second
// into a second is the whole second's reading with DUT1 +500 ms; UT and LMT stay on the
// computer's whole seconds, and a DUT1 beyond 0.9 s counts as none.
TEST_F(ApparentSidereal, MillisecondsAndDut1MoveOnlyTheSiderealScales) {
  const Location l = WestOfGreenwich();
  for (const bool apparent : {false, true}) {
    SCOPED_TRACE(apparent ? "apparent" : "mean");
    SetApparentSiderealTime(apparent);
    g_fake.now = CivilTime{2026, 12, 8, 8, 14, 21, 0};
    SetDut1Milliseconds(500);
    const double shiftedGst = ReadClock(kGst, l);
    const double shiftedLst = ReadClock(kLst, l);
    const double ut = ReadClock(kUt, l);
    SetDut1Milliseconds(0);
    const double wholeSecond = ReadClock(kGst, l);
    EXPECT_EQ(ReadClock(kUt, l), ut);
    g_fake.now.millisecond = 500;
    // TT moves with the milliseconds but not with DUT1: a few nanoseconds of precession.
    EXPECT_NEAR(ReadClock(kGst, l), shiftedGst, 1e-10);
    EXPECT_NEAR(ReadClock(kLst, l), shiftedLst, 1e-10);
    // A sidereal half second is a little longer than a solar one; a Julian day resolves
    // about 40 microseconds.
    EXPECT_NEAR((shiftedGst - wholeSecond) * 3600.0, 0.5 * 1.0027379, 1e-4);
    EXPECT_EQ(ReadClock(kUt, l), ut);
    EXPECT_EQ(ReadClock(kLmt24, l), ut);
    SetDut1Milliseconds(901);
    EXPECT_EQ(Dut1Milliseconds(), 0);
  }
}

TEST_F(ApparentSidereal, NutationIsWorkedOutOnceAMinuteOfTerrestrialTime) {
  SetApparentSiderealTime(true);
  const long before = NutationEvaluations();
  // TT is UTC + 69.184 s: its minute runs from UTC 12:00:50.816 to 12:01:50.816.
  double cached = 0.0;
  for (int s = 51; s < 51 + 60; ++s) {
    g_fake.now = CivilTime{2026, 12, 8, 12, s / 60, s % 60, 0};
    cached = ReadClock(kGst, WestOfGreenwich());
  }
  EXPECT_EQ(NutationEvaluations(), before + 1);
  ForgetNutation();
  EXPECT_EQ(ReadClock(kGst, WestOfGreenwich()), cached);  // the cache changes nothing
  g_fake.now = CivilTime{2026, 12, 8, 12, 1, 51, 0};
  ReadClock(kGst, WestOfGreenwich());
  EXPECT_EQ(NutationEvaluations(), before + 3);
}

}  // namespace
