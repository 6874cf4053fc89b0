// Fuzzes the reading of a stored setting: any text gives its number when it is all digits
// and fits an int, else the default; a window coordinate also takes one leading minus.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/settings_value.h"

namespace {

// The number the digits from `p` on stand for, when there is at least one, every character
// is a digit and the number is at most `limit`; else false.
bool Digits(const char *p, long long limit, long long *value) {
  bool digits = *p != '\0';
  *value = 0;
  for (; *p != '\0' && digits; ++p) {
    digits = *p >= '0' && *p <= '9';
    if (digits && *value <= limit) *value = *value * 10 + (*p - '0');
  }
  return digits && *value <= limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const char *c = text.c_str();  // a NUL in the data ends the text, as it would in a value
  const int defaultValue = size > 0 ? static_cast<int>(data[0]) - 300 : -7;
  long long value = 0;
  const long long expected = Digits(c, INT_MAX, &value) ? value : defaultValue;
  if (ParseSettingInt(c, defaultValue) != expected) std::abort();
  long long coordinate = expected;
  if (*c == '-') {
    coordinate = Digits(c + 1, -static_cast<long long>(INT_MIN), &value) ? -value : defaultValue;
  }
  if (ParseSettingCoordinate(c, defaultValue) != coordinate) std::abort();
  return 0;
}
