// Prints the clock's Greenwich sidereal time for one instant a day, for comparison with an
// independent computation (tools/gst_accuracy.py):
//   gst_accuracy              the mean scale, 1950 to 2050, the hour of day varying:
//     <year> <month> <day> <hour> <minute> <second> <gst hours, 17 digits> <shown text>
//   gst_accuracy --apparent   apparent sidereal time, 1900 to 2100, with the milliseconds and
//                             a DUT1 (-900..900 ms) varying too:
//     <year> <month> <day> <hour> <minute> <second> <ms> <dut1 ms> <gst hours, 17 digits>
#include <cstdio>
#include <cstring>

#include "astro/apparent.h"
#include "astro/clock_reading.h"
#include "astro/julian.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "support/hooks.h"

namespace {

CivilTime g_now{};
void ReadSetClock(CivilTime *now) { *now = g_now; }

}  // namespace

int main(int argc, char **argv) {
  const bool apparent = argc > 1 && std::strcmp(argv[1], "--apparent") == 0;
  g_platform = DefaultPlatformHooks();
  g_platform.readLocalTime = ReadSetClock;
  RefreshIntlSettings();
  SetApparentSiderealTime(apparent);
  Location greenwich{};  // zone 0, no daylight saving: the local clock is UT
  greenwich.hemisphere = kWest;
  const double first = JulianDayFromDate(1.0, 1, apparent ? 1900 : 1950);
  const double last = JulianDayFromDate(31.0, 12, apparent ? 2099 : 2050);
  unsigned spread = 12345u;
  for (double jd = first; jd <= last; jd += 1.0) {
    double day = 0;
    int month = 0;
    int year = 0;
    DateFromJulianDay(jd, &day, &month, &year);
    spread = spread * 1103515245u + 12345u;  // a different time of day every day
    const unsigned secondOfDay = (spread >> 8) % 86400u;
    g_now = CivilTime{year, month, static_cast<int>(day), static_cast<int>(secondOfDay / 3600),
                      static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60)};
    if (apparent) {
      spread = spread * 1103515245u + 12345u;
      g_now.millisecond = static_cast<int>((spread >> 8) % 1000u);
      spread = spread * 1103515245u + 12345u;
      const int dut1 = static_cast<int>((spread >> 8) % 1801u) - 900;
      SetDut1Milliseconds(dut1);
      std::printf("%d %d %d %d %d %d %d %d %.17g\n", g_now.year, g_now.month, g_now.day,
                  g_now.hour, g_now.minute, g_now.second, g_now.millisecond, dut1,
                  ReadClock(kGst, greenwich));
      continue;
    }
    const double gst = ReadClock(kGst, greenwich);
    char text[kTextSize];
    FormatClockText(gst, text);
    std::printf("%d %d %d %d %d %d %.17g %s\n", g_now.year, g_now.month, g_now.day, g_now.hour,
                g_now.minute, g_now.second, gst, text);
  }
  return 0;
}
