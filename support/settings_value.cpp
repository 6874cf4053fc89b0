// Settings text to number. Portable.
#include "support/settings_value.h"

#include <climits>

namespace {

// The digits of `text` as a number when there is at least one, all are digits and the
// number is at most `limit`.
bool ParseDigits(const char *text, long long limit, long long *value) {
  if (text[0] == '\0') return false;
  long long number = 0;
  for (const char *p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    number = number * 10 + (*p - '0');
    if (number > limit) return false;  // too big for an int: as if absent
  }
  *value = number;
  return true;
}

}  // namespace

int ParseSettingInt(const char *text, int defaultValue) {
  long long value = 0;
  return ParseDigits(text, INT_MAX, &value) ? static_cast<int>(value) : defaultValue;
}

int ParseSettingCoordinate(const char *text, int defaultValue) {
  if (text[0] != '-') return ParseSettingInt(text, defaultValue);
  long long value = 0;
  if (!ParseDigits(text + 1, -static_cast<long long>(INT_MIN), &value)) return defaultValue;
  return static_cast<int>(-value);
}
