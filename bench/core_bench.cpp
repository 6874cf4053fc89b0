// What one second of the clock costs in the core: reading the clock, the text, the 12-hour
// rewrite and the chime detection, for each time scale.
#include <benchmark/benchmark.h>

#include <cstring>

#include "astro/apparent.h"
#include "astro/apparent_probe.h"
#include "astro/clock_reading.h"
#include "display/chimes.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "bench_support.h"
#include "support/hooks.h"

namespace {

void UseBenchHooks(bool libraryClock) {
  g_platform = DefaultPlatformHooks();
  if (!libraryClock) g_platform.readLocalTime = ReadAdvancingClock;
  g_platform.loadText = LoadDesignator;
  RefreshIntlSettings();
}

// Reading the clock, formatting the text and, for TimeKind 0, the 12-hour rewrite.
void BM_ClockUpdate(benchmark::State &state) {
  UseBenchHooks(false);
  const int kind = static_cast<int>(state.range(0));
  const Location location = Denver();
  char text[81];
  for (auto _ : state) {
    FormatClockText(ReadClock(kind, location), text);
    if (kind == kLmt12) MakeTwelveHourText(text);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_ClockUpdate)->DenseRange(0, 4)->ArgName("kind");

// The full core of a tick: reading, text and chime detection, against the previous text.
void BM_CoreTick(benchmark::State &state) {
  UseBenchHooks(state.range(1) != 0);
  const int kind = static_cast<int>(state.range(0));
  const Location location = Denver();
  char text[81] = {};
  char last[81] = {};
  for (auto _ : state) {
    const int minute = FormatClockText(ReadClock(kind, location), text);
    if (kind == kLmt12) MakeTwelveHourText(text);
    DetectHourlyChime(text, last, minute);
    std::memcpy(last, text, sizeof last);
    benchmark::DoNotOptimize(last);
  }
  SetPendingChimeCount(0);
}
BENCHMARK(BM_CoreTick)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->ArgNames({"kind", "libclock"});

// One reading of a sidereal scale with apparent time and a DUT1: a new second each time, so
// the nutation is worked out again at every 60th reading, as in the running clock.
void BM_ApparentReading(benchmark::State &state) {
  UseBenchHooks(false);
  SetApparentSiderealTime(true);
  SetDut1Milliseconds(-123);
  const int kind = static_cast<int>(state.range(0));
  const Location location = Denver();
  for (auto _ : state) benchmark::DoNotOptimize(ReadClock(kind, location));
  SetApparentSiderealTime(false);
  SetDut1Milliseconds(0);
}
BENCHMARK(BM_ApparentReading)->DenseRange(3, 4)->ArgName("kind");

// The reading at the turn of a minute: the nutation series worked out every time.
void BM_ApparentReadingNewMinute(benchmark::State &state) {
  UseBenchHooks(false);
  SetApparentSiderealTime(true);
  const Location location = Denver();
  for (auto _ : state) {
    ForgetNutation();
    benchmark::DoNotOptimize(ReadClock(kGst, location));
  }
  SetApparentSiderealTime(false);
}
BENCHMARK(BM_ApparentReadingNewMinute);

}  // namespace

BENCHMARK_MAIN();
