// What one second of the clock costs in the core: reading the clock, the text, the 12-hour
// rewrite and the chime detection, for each time scale.
#include <benchmark/benchmark.h>

#include <cstring>

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

}  // namespace

BENCHMARK_MAIN();
