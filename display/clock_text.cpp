// Building the clock text from the hours value. Portable; allocates nothing.
#include "display/clock_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/julian.h"
#include "display/intl.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"

namespace {

int FormatHoursText(double hours, bool nearestSecond, char *text) {
  const char separator = IntlTimeSeparator(0);
  // Whatever a hand-edited file did to the reading, the text shows a time of day.
  double a = std::fabs(hours);
  if (!std::isfinite(a)) a = 0.0;
  if (a >= 24.0) a = std::fmod(a, 24.0);
  int h = TruncToInt(a);
  const double f = FractionalPart(a);
  const double m = f * 60.0;
  int minutes = TruncToInt(m);
  const double s = (m - minutes) * 60.0;
  // Nearest second: 10:30:15 is not exact as a double; cut, the lead covers the same.
  int seconds = nearestSecond ? RoundHalfUp(s) : TruncToInt(s + kCutSecondLead);
  // Each carry is tested whether or not the one before it fired.
  if (seconds == 60) {
    seconds = 0;
    minutes = minutes + 1;
  }
  if (minutes == 60) {
    minutes = 0;
    h = h + 1;
  }
  if (h == 24) h = 0;
  std::snprintf(text, kTextSize, "%02d%c%02d%c%02d", h, separator, minutes, separator, seconds);
  if (text[0] == '0' && IntlTimeLeadingZero(0) == 0) text[0] = ' ';
  return minutes;
}

}  // namespace

int FormatClockText(double hours, char *text) { return FormatHoursText(hours, true, text); }

int FormatClockTextCut(double hours, char *text) { return FormatHoursText(hours, false, text); }

bool ReadHourDigits(const char *twoCharacters, int *hour) {
  int i = 0;
  while (i < 2 && (twoCharacters[i] == ' ' || (twoCharacters[i] >= '\t' && twoCharacters[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < 2 && (twoCharacters[i] == '+' || twoCharacters[i] == '-')) negative = twoCharacters[i++] == '-';
  int value = 0;
  int digits = 0;
  for (; i < 2 && twoCharacters[i] >= '0' && twoCharacters[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (twoCharacters[i] - '0');
  }
  if (digits == 0) return false;
  *hour = negative ? -value : value;
  return true;
}

void MakeTwelveHourText(char *text) {
  int h = 0;
  if (!ReadHourDigits(text, &h)) h = 0;
  char designator[kTextSize];
  LoadText(h > 11 ? IDS_PM : IDS_AM, designator);
  if (h > 12) h = h - 12;
  if (h == 0) h = 12;
  char twoDigits[12];
  std::snprintf(twoDigits, sizeof twoDigits, "%2d", h);
  if (twoDigits[0] == ' ' && IntlTimeLeadingZero(0) == 1) twoDigits[0] = '0';
  text[0] = twoDigits[0];
  text[1] = twoDigits[1];
  const std::size_t used = std::strlen(text);
  std::snprintf(text + used, static_cast<std::size_t>(kTextSize) - used, " %s", designator);
}
