// The time server's correction: its schedule and lifetime, civil readings moved by an offset,
// and the caption's mark.
#include <gtest/gtest.h>

#include "display/correction_mark.h"
#include "support/time_correction.h"
#include "fake_platform.h"

namespace {

constexpr std::int64_t kHour = kCorrectionHourMs;
constexpr std::int64_t kSecond = 10000000;  // 100 ns

// A day in the correction's life: each event, then what is in force and when the next
// measurement is due (-1: none due, the correction being off).
TEST(TimeCorrection, MeasuresOnScheduleAndKeepsAnOffsetForADay) {
  enum Event { kOn, kGood, kFailed, kTimeChange, kWake, kExpire, kOff };
  struct Step {
    Event event;
    std::int64_t at;
    std::int64_t offset;
    bool inForce;
    std::int64_t shown;  // what the readings add
    std::int64_t due;
  } steps[] = {
      {kOn, 1000, 0, false, 0, 1000},                            // start-up: at once
      {kGood, 1200, 3 * kSecond, true, 3 * kSecond, 1200 + kHour},
      {kFailed, 1200 + kHour, 0, true, 3 * kSecond, 1200 + 2 * kHour},  // the last one stays
      {kExpire, 1200 + 24 * kHour, 0, true, 3 * kSecond, 1200 + 2 * kHour},  // a day: still
      {kExpire, 1201 + 24 * kHour, 0, false, 0, 1200 + 2 * kHour},  // then the computer's own
      {kGood, 2 * 86400000LL, -kSecond / 4, true, -kSecond / 4, 2 * 86400000LL + kHour},
      {kWake, 2 * 86400000LL + 60000, 0, true, -kSecond / 4, 2 * 86400000LL + 60000},
      {kTimeChange, 2 * 86400000LL + 70000, 0, false, 0, 2 * 86400000LL + 70000},  // at once
      {kGood, 2 * 86400000LL + 71000, kSecond, true, kSecond, 2 * 86400000LL + 71000 + kHour},
      {kOn, 2 * 86400000LL + 72000, 0, true, kSecond, 2 * 86400000LL + 71000 + kHour},  // again
      {kOff, 2 * 86400000LL + 73000, 0, false, 0, -1},
      {kGood, 2 * 86400000LL + 74000, kSecond, false, 0, -1},  // a late result while off
  };
  TimeCorrection c = {};
  for (const Step &s : steps) {
    switch (s.event) {
      case kOn: SetCorrectionOn(&c, true, s.at); break;
      case kGood: RecordMeasurement(&c, true, s.offset, s.at); break;
      case kFailed: RecordMeasurement(&c, false, 0, s.at); break;
      case kTimeChange: DropCorrection(&c, s.at); break;
      case kWake: MeasureSoon(&c, s.at); break;
      case kExpire: ExpireCorrection(&c, s.at); break;
      case kOff: SetCorrectionOn(&c, false, s.at); break;
    }
    EXPECT_EQ(CorrectionInForce(c), s.inForce) << s.at;
    EXPECT_EQ(CorrectionOffset(c), s.shown) << s.at;
    if (s.due < 0) {
      EXPECT_FALSE(MeasurementDue(c, s.at + 1000 * kHour)) << s.at;
    } else {
      EXPECT_FALSE(MeasurementDue(c, s.due - 1)) << s.at;
      EXPECT_TRUE(MeasurementDue(c, s.due)) << s.at;
    }
  }
}

TEST(TimeCorrection, ShiftsCivilReadingsAcrossEveryBoundary) {
  struct Case {
    CivilTime from;
    std::int64_t ticks;
    CivilTime to;
  } cases[] = {
      {{2026, 12, 8, 10, 5, 59, 900}, 3 * kSecond + 2500000, {2026, 12, 8, 10, 6, 3, 150}},
      {{2026, 12, 31, 23, 59, 58, 0}, 3 * kSecond, {2027, 1, 1, 0, 0, 1, 0}},
      {{2027, 1, 1, 0, 0, 1, 0}, -3 * kSecond, {2026, 12, 31, 23, 59, 58, 0}},
      {{2028, 2, 28, 23, 59, 59, 999}, 10000, {2028, 2, 29, 0, 0, 0, 0}},   // a leap day
      {{2027, 2, 28, 23, 59, 59, 999}, 10000, {2027, 3, 1, 0, 0, 0, 0}},
      {{2100, 3, 1, 0, 0, 0, 0}, -1, {2100, 2, 28, 23, 59, 59, 999}},      // below a ms: earlier
      {{2026, 6, 30, 12, 0, 0, 500}, 9999, {2026, 6, 30, 12, 0, 0, 500}},
      {{2026, 6, 30, 12, 0, 0, 0}, 86400 * kSecond * 3, {2026, 7, 3, 12, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    CivilTime t = c.from;
    ShiftCivilTime(&t, c.ticks);
    const int got[] = {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond};
    const int want[] = {c.to.year, c.to.month, c.to.day, c.to.hour, c.to.minute, c.to.second,
                        c.to.millisecond};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(got[i], want[i]) << c.ticks << " field " << i;
  }
}

TEST(TimeCorrection, TheCaptionSaysWhenTheShownTimeIsCorrected) {
  InstallFakePlatform();
  struct Case {
    bool on, measured, minimised;
    const char *marked;
  } cases[] = {
      {true, true, false, "UT, corrected"},
      {true, true, true, "UT*"},
      {true, false, false, "UT"},  // no answer yet: the computer's own time, unmarked
      {false, true, true, "UT"},
  };
  for (const Case &c : cases) {
    g_timeCorrection = TimeCorrection{};
    SetCorrectionOn(&g_timeCorrection, c.on, 0);
    if (c.measured) RecordMeasurement(&g_timeCorrection, true, kSecond, 0);
    char out[kTextSize];
    MarkCorrectedScale("UT", c.minimised, out, sizeof out);
    EXPECT_STREQ(out, c.marked) << c.on << c.measured << c.minimised;
  }
  g_timeCorrection = TimeCorrection{};
}

}  // namespace
