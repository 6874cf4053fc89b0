// The time server's correction: its schedule and lifetime with the caption's mark, and civil
// readings moved by an offset.
#include <gtest/gtest.h>

#include "display/correction_mark.h"
#include "fake_platform.h"
#include "support/time_correction.h"

namespace {

constexpr std::int64_t kHour = kCorrectionHourMs, kDay = 24 * kHour;
constexpr std::int64_t kSecond = 10000000;  // 100 ns

// A day in the correction's life: each event, then the offset the readings add, whether it
// is in force (and the caption says so) and when the next measurement is due (-1: never,
// the correction being off).
TEST(TimeCorrection, MeasuresOnScheduleAndKeepsAnOffsetForADay) {
  InstallFakePlatform();
  enum Event { kOn, kGood, kFailed, kTimeChange, kWake, kExpire, kOff };
  const struct {
    Event event;
    std::int64_t at, offset, shown;
    bool inForce;
    std::int64_t due;
  } steps[] = {
      {kOn, 1000, 0, 0, false, 1000},  // start-up: at once
      {kGood, 1200, 3 * kSecond, 3 * kSecond, true, 1200 + kHour},
      {kFailed, 1200 + kHour, 0, 3 * kSecond, true, 1200 + 2 * kHour},  // the last one stays
      {kExpire, 1200 + kDay, 0, 3 * kSecond, true, 1200 + 2 * kHour},   // for a day
      {kExpire, 1201 + kDay, 0, 0, false, 1200 + 2 * kHour},  // then the computer's own
      {kGood, 2 * kDay, -kSecond / 4, -kSecond / 4, true, 2 * kDay + kHour},
      {kWake, 2 * kDay + 60000, 0, -kSecond / 4, true, 2 * kDay + 60000},
      {kTimeChange, 2 * kDay + 70000, 0, 0, false, 2 * kDay + 70000},  // dropped at once
      {kGood, 2 * kDay + 71000, kSecond, kSecond, true, 2 * kDay + 71000 + kHour},
      {kOn, 2 * kDay + 72000, 0, kSecond, true, 2 * kDay + 71000 + kHour},  // chosen again
      {kOff, 2 * kDay + 73000, 0, 0, false, -1},
      {kGood, 2 * kDay + 74000, kSecond, 0, false, -1},  // a late result while off
  };
  TimeCorrection &c = g_timeCorrection;
  c = TimeCorrection{};
  for (const auto &s : steps) {
    if (s.event == kOn || s.event == kOff) SetCorrectionOn(&c, s.event == kOn, s.at);
    if (s.event == kGood || s.event == kFailed) {
      RecordMeasurement(&c, s.event == kGood, s.offset, s.at);
    }
    if (s.event == kTimeChange) DropCorrection(&c, s.at);
    if (s.event == kWake) MeasureSoon(&c, s.at);
    if (s.event == kExpire) ExpireCorrection(&c, s.at);
    EXPECT_EQ(CorrectionOffset(c), s.shown) << s.at;
    EXPECT_EQ(CorrectionInForce(c), s.inForce) << s.at;
    EXPECT_EQ(MeasurementDue(c, s.due - 1), false) << s.at;
    EXPECT_EQ(MeasurementDue(c, s.due < 0 ? 1000 * kDay : s.due), s.due >= 0) << s.at;
    char caption[kTextSize], minimised[kTextSize];
    MarkCorrectedScale("UT", false, caption, sizeof caption);
    MarkCorrectedScale("UT", true, minimised, sizeof minimised);
    EXPECT_STREQ(caption, s.inForce ? "UT, corrected" : "UT") << s.at;
    EXPECT_STREQ(minimised, s.inForce ? "UT*" : "UT") << s.at;
  }
  c = TimeCorrection{};
}

TEST(TimeCorrection, ShiftsCivilReadingsAcrossEveryBoundary) {
  const struct {
    CivilTime from;
    std::int64_t ticks;
    CivilTime to;
  } cases[] = {
      {{2026, 12, 8, 10, 5, 59, 900}, 3 * kSecond + 2500000, {2026, 12, 8, 10, 6, 3, 150}},
      {{2026, 12, 31, 23, 59, 58, 0}, 3 * kSecond, {2027, 1, 1, 0, 0, 1, 0}},
      {{2027, 1, 1, 0, 0, 1, 0}, -3 * kSecond, {2026, 12, 31, 23, 59, 58, 0}},
      {{2028, 2, 28, 23, 59, 59, 999}, 10000, {2028, 2, 29, 0, 0, 0, 0}},  // a leap day
      {{2027, 2, 28, 23, 59, 59, 999}, 10000, {2027, 3, 1, 0, 0, 0, 0}},
      {{2100, 3, 1, 0, 0, 0, 0}, -1, {2100, 2, 28, 23, 59, 59, 999}},  // below a ms: earlier
      {{2026, 6, 30, 12, 0, 0, 500}, 9999, {2026, 6, 30, 12, 0, 0, 500}},
      {{2026, 6, 30, 12, 0, 0, 0}, 86400 * kSecond * 3, {2026, 7, 3, 12, 0, 0, 0}},
  };
  for (const auto &c : cases) {
    CivilTime t = c.from;
    ShiftCivilTime(&t, c.ticks);
    char got[40], want[40];
    for (auto [v, out] : {std::pair<const CivilTime *, char *>{&t, got}, {&c.to, want}}) {
      std::snprintf(out, 40, "%d-%d-%d %d:%d:%d.%d", v->year, v->month, v->day, v->hour,
                    v->minute, v->second, v->millisecond);
    }
    EXPECT_STREQ(got, want) << c.ticks;
  }
}

}  // namespace
