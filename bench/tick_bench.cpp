// ns per clock tick of the core, the same program natively and under Wine: reading the
// clock through the hook, the text, the 12-hour rewrite and the chime detection. Google
// Benchmark is not built for Windows here, so this times itself: several rounds of many
// ticks, and the median round is reported.
//
//   tick_bench [--system-clock]   prints one line per TimeKind: "kind <k> <ns> ns/tick"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "astro/clock_reading.h"
#include "display/chimes.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "bench_support.h"
#include "support/hooks.h"

#ifdef _WIN32
#include "support/win32_hooks.h"
#endif

namespace {

double NanosecondsPerTick(int kind, long ticks) {
  const Location denver = Denver();
  char text[kTextSize] = {};
  char last[kTextSize] = {};
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < ticks; ++i) {
    const int minute = FormatClockText(ReadClock(kind, denver), text);
    if (kind == kLmt12) MakeTwelveHourText(text);
    DetectHourlyChime(text, last, minute);
    std::memcpy(last, text, sizeof last);
  }
  const auto stop = std::chrono::steady_clock::now();
  SetPendingChimeCount(0);
  if (last[0] == '\x7f') std::puts("");  // keeps the loop's work observable
  return std::chrono::duration<double, std::nano>(stop - start).count() / static_cast<double>(ticks);
}

}  // namespace

int main(int argc, char **argv) {
  const bool systemClock = argc > 1 && std::strcmp(argv[1], "--system-clock") == 0;
  g_platform = DefaultPlatformHooks();
#ifdef _WIN32
  if (systemClock) InstallWin32Hooks(nullptr);  // GetLocalTime, as the program reads it
#endif
  if (!systemClock) g_platform.readLocalTime = ReadAdvancingClock;
  g_platform.loadText = LoadDesignator;
  RefreshIntlSettings();
  const long ticks = systemClock ? 200000 : 1000000;
  for (int kind = 0; kind < kTimeKindCount; ++kind) {
    double rounds[7];
    NanosecondsPerTick(kind, ticks / 10);  // warm the caches
    for (double &r : rounds) r = NanosecondsPerTick(kind, ticks);
    std::sort(rounds, rounds + 7);
    std::printf("kind %d %.1f ns/tick\n", kind, rounds[3]);
  }
  return 0;
}
