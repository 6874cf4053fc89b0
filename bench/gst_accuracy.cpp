// Prints the clock's Greenwich sidereal time for one UT instant a day from 1950 to 2050
// (the hour of day varying), for comparison with an independent GMST computation:
//   <year> <month> <day> <hour> <minute> <second> <gst hours, 17 digits> <shown text>
#include <cstdio>

#include "astro/clock_reading.h"
#include "astro/julian.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "support/hooks.h"

namespace {

CivilTime g_now{};
void ReadSetClock(CivilTime *now) { *now = g_now; }

}  // namespace

int main() {
  g_platform = DefaultPlatformHooks();
  g_platform.readLocalTime = ReadSetClock;
  RefreshIntlSettings();
  Location greenwich{};  // zone 0, no daylight saving: the local clock is UT
  greenwich.hemisphere = kWest;
  const double first = JulianDayFromDate(1.0, 1, 1950);
  const double last = JulianDayFromDate(31.0, 12, 2050);
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
    const double gst = ReadClock(kGst, greenwich);
    char text[kTextSize];
    FormatClockText(gst, text);
    std::printf("%d %d %d %d %d %d %.17g %s\n", g_now.year, g_now.month, g_now.day, g_now.hour,
                g_now.minute, g_now.second, gst, text);
  }
  return 0;
}
