// The locale cache: four values, each with its own stale flag. Portable.
#include "display/intl.h"

#include "display/intl_probe.h"
#include "support/hooks.h"

namespace {

const char kSection[] = "intl";

int g_leadingZero = 1;
char g_decimalChar = '.';
int g_timeLeadingZero = 0;
char g_timeSeparator = ':';

// All set at start: the first query of each value reads the profile even without refresh.
int g_leadingZeroStale = 1;
int g_decimalCharStale = 1;
int g_timeLeadingZeroStale = 1;
int g_timeSeparatorStale = 1;

int QueryInt(int refresh, int *stale, int *cached, const char *key, int defaultValue) {
  if (refresh != 0 || *stale != 0) *cached = g_platform.readProfileInt(kSection, key, defaultValue);
  *stale = 0;
  return *cached == 1 ? 1 : 0;
}

char QueryChar(int refresh, int *stale, char *cached, const char *key, const char *defaultValue) {
  if (refresh != 0 || *stale != 0) {
    char buffer[kTextSize] = "";
    g_platform.readProfileString(kSection, key, defaultValue, buffer, kTextSize);
    *cached = buffer[0];  // only the first character counts; an empty entry gives NUL
  }
  *stale = 0;
  return *cached;
}

}  // namespace

int IntlLeadingZero(int refresh) {
  return QueryInt(refresh, &g_leadingZeroStale, &g_leadingZero, "iLzero", 1);
}

char IntlDecimalChar(int refresh) {
  return QueryChar(refresh, &g_decimalCharStale, &g_decimalChar, "sdecimal", ".");
}

int IntlTimeLeadingZero(int refresh) {
  return QueryInt(refresh, &g_timeLeadingZeroStale, &g_timeLeadingZero, "itlzero", 0);
}

char IntlTimeSeparator(int refresh) {
  return QueryChar(refresh, &g_timeSeparatorStale, &g_timeSeparator, "stime", ":");
}

void RefreshIntlSettings() {
  IntlDecimalChar(1);
  IntlTimeSeparator(1);
  IntlTimeLeadingZero(1);
  IntlLeadingZero(1);
}

void MarkIntlSettingsStale() {
  g_leadingZeroStale = 1;
  g_decimalCharStale = 1;
  g_timeLeadingZeroStale = 1;
  g_timeSeparatorStale = 1;
}
