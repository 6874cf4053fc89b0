// The delay to the next tick, alone and in an hour of simulated ticks on a coarse timer.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

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

// Windows fires a timer at the first system tick (15.625 ms by default) at or after it is
// due; the clock the program reads, and the count a timer is armed from, move only at those
// ticks; now and then the program wakes far later still (a busy machine). Every tick must show the second after the one before: none
// skipped, none shown twice. Times are in microseconds.
TEST(TickTiming, AnHourOnACoarseTimerWithLateWakeUpsShowsEverySecondOnce) {
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

  std::int64_t now = 1000000 * 1000 + 437211;  // the window opens at some odd moment
  std::int64_t shown = -1;
  int ticks = 0, late = 0;
  std::int64_t worstPromptLag = 0;
  while (ticks < 3600) {
    const std::int64_t read = systemTick(now);
    const std::int64_t second = read / 1000000;
    if (shown >= 0) {
      ASSERT_EQ(second, shown + 1) << "tick " << ticks << " at " << now;
    }
    shown = second;
    const int millisecond = static_cast<int>(read % 1000000 / 1000);
    const std::int64_t due = read + 1000 * static_cast<std::int64_t>(NextTickDelay(millisecond));
    std::int64_t wake = firstTickFrom(due) + scheduling(random);
    const bool delayed = percent(random) < 5;
    if (delayed) {
      wake += busy(random);
      ++late;
    } else if (ticks > 0) {
      const std::int64_t lag = wake - (wake / 1000000) * 1000000;
      if (lag > worstPromptLag) worstPromptLag = lag;
    }
    now = wake;
    ++ticks;
  }
  EXPECT_GT(late, 100);  // the late wake-ups did happen
  EXPECT_LT(worstPromptLag, 20000) << "a tick on time shows its second within 20 ms";
}

}  // namespace
