// Fuzzes the reading of a stored setting: any text gives its number when it is all digits
// and fits an int, else the default.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/settings_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const char *c = text.c_str();  // a NUL in the data ends the text, as it would in a value
  const int defaultValue = size > 0 ? static_cast<int>(data[0]) - 300 : -7;
  long long expected = defaultValue;
  bool digits = *c != '\0';
  long long value = 0;
  for (const char *p = c; *p != '\0' && digits; ++p) {
    digits = *p >= '0' && *p <= '9';
    if (digits && value <= INT_MAX) value = value * 10 + (*p - '0');
  }
  if (digits && value <= INT_MAX) expected = value;
  if (ParseSettingInt(c, defaultValue) != expected) std::abort();
  return 0;
}
