// Settings text to number. Portable.
#include "support/settings_value.h"

#include <climits>

int ParseSettingInt(const char *text, int defaultValue) {
  if (text[0] == '\0') return defaultValue;
  long long value = 0;
  for (const char *p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return defaultValue;  // also a sign: negatives never read back
    value = value * 10 + (*p - '0');
    if (value > INT_MAX) return defaultValue;  // too big for an int: as if absent
  }
  return static_cast<int>(value);
}
