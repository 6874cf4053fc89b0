// The delay to the next tick, alone and in an hour of simulated ticks on a coarse timer, in
// the computer's seconds and in sidereal seconds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "display/clock_text.h"
#include "shell/tick_timing.h"

namespace {

TEST(TickTiming, EveryMillisecondAimsJustPastTheNextSecond) {
  // From any reading the tick lands in the next second, late enough that a timer firing a
  // millisecond early is still in it, and within a few milliseconds of its start.
  for (int ms = 0; ms < 1000; ++ms) {
    const int lands = ms + static_cast<int>(NextTickDelay(ms));
    EXPECT_GE(lands, 1000 + 2) << ms;
    EXPECT_LE(lands, 1000 + 5) << ms;
  }
  // Readings outside the second count as its nearest end.
  EXPECT_EQ(NextTickDelay(-5), NextTickDelay(0));
  EXPECT_EQ(NextTickDelay(1000), NextTickDelay(999));
}

TEST(TickTiming, SiderealPhasesAimJustPastTheScalesNextSecond) {
  const double sidereal = kSiderealSecondInSolarSeconds;
  struct Phase {
    double fraction, length;
    unsigned delay;
  } phases[] = {
      {0.0, sidereal, 998 + 3},  // 997.27 ms to go
      {0.5, sidereal, 499 + 3},  // 498.63 ms
      {0.999, sidereal, 1 + 3},  // 0.997 ms
      {0.5, 1.0, 500 + 3},       // the wait would end on the boundary itself
      {0.25, 1.0, 750 + 3},
      {1.0, sidereal, 0 + 3},    // read on the boundary: the margin alone
      {-0.2, sidereal, 998 + 3}, // out of range: the nearest end
      {1.7, sidereal, 0 + 3},
      {std::nan(""), sidereal, 998 + 3},
      {0.5, 0.0, 500 + 3},       // no length: the computer's second
  };
  for (const Phase &p : phases) {
    EXPECT_EQ(NextScaleTickDelay(p.fraction, p.length), p.delay) << p.fraction << " " << p.length;
  }
  // From any phase the wait ends past the boundary by the margin, less than a millisecond more.
  for (int i = 0; i < 1000; ++i) {
    const double fraction = i / 1000.0;
    const double boundary = (1.0 - fraction) * sidereal * 1000.0;
    const double past = NextScaleTickDelay(fraction, sidereal) - boundary;
    EXPECT_GE(past, kTickMarginMs) << fraction;
    EXPECT_LT(past, kTickMarginMs + 1) << fraction;
  }
  EXPECT_NEAR(SecondFractionOf(10.0 + 30.25 / 3600), 0.25 + kCutSecondLead, 1e-9);
  EXPECT_NEAR(SecondFractionOf(10.0 + 30.9996 / 3600), 0.0001, 1e-9);  // shown as 10:00:31
  EXPECT_EQ(SecondFractionOf(std::nan("")), 0.0);
}

// Windows fires a timer at the first system tick (15.625 ms by default) at or after it is
// due; the clock the program reads, and the count a timer is armed from, move only at those
// ticks; now and then the program wakes far later still (a busy machine). Every tick must
// show the second after the one before: none skipped, none shown twice; in the computer's
// seconds, and in sidereal seconds read from the same clock's milliseconds. Times are in
// microseconds.
TEST(TickTiming, AnHourOnACoarseTimerWithLateWakeUpsShowsEverySecondOnce) {
  struct Scale {
    const char *name;
    double length;  // in the computer's seconds
    double phase;   // of the scale's seconds at the computer's time 0
    double worstLagMs;
  } scales[] = {{"computer's", 1.0, 0.0, 20.0},
                {"sidereal", kSiderealSecondInSolarSeconds, 0.3711, 22.0}};
  for (const Scale &scale : scales) {
    SCOPED_TRACE(scale.name);
    const std::int64_t granularity = 15625;
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::int64_t> phase(0, granularity - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::int64_t> scheduling(0, 1000), busy(0, 900000);
    const std::int64_t tickPhase = phase(random);
    auto systemTick = [&](std::int64_t t) {  // the clock reading: the last system tick
      return t - ((t - tickPhase) % granularity + granularity) % granularity;
    };
    auto firstTickFrom = [&](std::int64_t t) {
      const std::int64_t last = systemTick(t);
      return last == t ? t : last + granularity;
    };
    auto inScale = [&](std::int64_t t) {
      return static_cast<double>(t) / (scale.length * 1e6) + scale.phase;
    };

    std::int64_t now = 1000000 * 1000 + 437211;  // the window opens at some odd moment
    std::int64_t shown = -1;
    int ticks = 0, late = 0;
    double worstPromptLag = 0;
    while (ticks < 3600) {
      const std::int64_t read = systemTick(now);
      const int millisecond = static_cast<int>(read % 1000000 / 1000);
      // The reading carries whole milliseconds, as the computer's clock gives them.
      const double reading = inScale(read / 1000 * 1000);
      // The second shown: as FormatClockTextCut shows a sidereal reading.
      const std::int64_t second = static_cast<std::int64_t>(
          std::floor(scale.length == 1.0 ? reading : reading + kCutSecondLead));
      if (shown >= 0) {
        ASSERT_EQ(second, shown + 1) << "tick " << ticks << " at " << now;
      }
      shown = second;
      const unsigned delay = scale.length == 1.0
                                 ? NextTickDelay(millisecond)
                                 : NextScaleTickDelay(SecondFractionOf(reading / 3600.0),
                                                      scale.length);
      const std::int64_t due = read + 1000 * static_cast<std::int64_t>(delay);
      std::int64_t wake = firstTickFrom(due) + scheduling(random);
      const bool delayed = percent(random) < 5;
      if (delayed) {
        wake += busy(random);
        ++late;
      } else if (ticks > 0) {
        const double lag = (inScale(wake) - std::floor(inScale(wake))) * scale.length * 1e6;
        if (lag > worstPromptLag) worstPromptLag = lag;
      }
      now = wake;
      ++ticks;
    }
    EXPECT_GT(late, 100);  // the late wake-ups did happen
    // A tick on time shows its second within a system tick and the margin; the sidereal wait
    // is rounded up to the timer's whole millisecond from a reading in whole milliseconds.
    EXPECT_LT(worstPromptLag, scale.worstLagMs * 1000) << "late for a tick on time";
  }
}

}  // namespace
