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
#include "support/hooks.h"

#ifdef _WIN32
#include "support/win32_hooks.h"
#endif

namespace {

CivilTime g_now{2026, 12, 7, 13, 59, 0};

// A clock that moves on one second per reading, so that every reading is a new second.
void ReadAdvancingClock(CivilTime *now) {
  if (++g_now.second == 60) {
    g_now.second = 0;
    if (++g_now.minute == 60) g_now.minute = 0;
  }
  *now = g_now;
}

int LoadDesignator(int id, char *out, int size) {
  std::snprintf(out, static_cast<std::size_t>(size), "%s", id == 134 ? "PM" : "AM");
  return 2;
}

double NanosecondsPerTick(int kind, long ticks) {
  Location denver{};
  std::snprintf(denver.name, sizeof denver.name, "Denver");
  denver.hemisphere = kWest;
  denver.longitude = 104.98416666666667;
  denver.zone = -7.0;
  denver.dst = 1;
  char text[kTextSize] = {};
  char last[kTextSize] = {};
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < ticks; ++i) {
    FormatClockText(ReadClock(kind, denver), text);
    if (kind == kLmt12) MakeTwelveHourText(text);
    DetectHourlyChime(text, last);
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
