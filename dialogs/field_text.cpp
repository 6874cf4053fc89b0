// Number text of the dialog fields. Portable.
#include "dialogs/field_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/julian.h"
#include "display/intl.h"
#include "location/city_table.h"
#include "support/hooks.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void FormatSignedNumber(double value, int width, int precision, char *out) {
  const int sign = SignOf(value);
  const double magnitude = std::fabs(value);
  long whole = static_cast<long>(TruncToLong(magnitude));

  // The decimals, as "%1.*lf" rounds them; a fraction that rounds up to 1 (0.999 at two
  // decimals) carries into the whole part instead of showing as ".00" after the old one.
  char fraction[kTextSize];
  std::snprintf(fraction, sizeof fraction, "%1.*lf", precision, FractionalPart(magnitude));
  if (fraction[0] == '1') {
    whole = whole + 1;
    std::snprintf(fraction, sizeof fraction, "%1.*lf", precision, 0.0);
  }
  const char *point = std::strchr(fraction, '.');
  const char *digits = point != nullptr ? point + 1 : "";

  char integer[kTextSize];
  if (whole >= 1 || IntlLeadingZero(0) == 1) {
    if (sign < 0 && whole == 0) {
      // A negative value above -1 keeps its sign although its whole part is 0.
      std::snprintf(integer, sizeof integer, "%*s", width, "-0");
    } else {
      std::snprintf(integer, sizeof integer, "%*ld", width, sign * whole);
    }
  } else {
    std::snprintf(integer, sizeof integer, "%*s", width, sign < 0 ? "-" : "");
  }
  // Cut at 80 characters like every text of the program (a width that large is never asked).
  if (std::snprintf(out, kTextSize, "%s%c%s", integer, IntlDecimalChar(0), digits) < 0) {
    out[0] = '\0';
  }
}

void RemoveWhiteSpace(char *s) {
  std::size_t out = 0;
  for (std::size_t i = 0; s[i] != '\0'; ++i) {
    if (!IsWhiteSpace(s[i])) s[out++] = s[i];
  }
  s[out] = '\0';
}

bool ReadRealText(const char *text, double *value) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%s", text);  // at most 79 characters
  const char decimal = IntlDecimalChar(0);
  for (char *p = buffer; *p != '\0'; ++p) {
    if (*p == decimal) *p = '.';
  }
  // Leading blanks, a sign, digits with at most one point, an exponent only when digits
  // follow it; then the end of the text or a blank. The C library's reader would also take
  // hex ("0x" as 0), "inf" and "nan".
  const char *p = buffer;
  while (IsWhiteSpace(*p)) ++p;
  const char *start = p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  for (; IsDigit(*p); ++p) ++digits;
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p) ++digits;
  }
  if (digits == 0) return false;
  if (*p == 'e' || *p == 'E') {
    const char *exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (IsDigit(*exponent)) {
      for (p = exponent; IsDigit(*p); ++p) {
      }
    }
  }
  if (*p != '\0' && !IsWhiteSpace(*p)) return false;
  char *end = nullptr;
  const float number = std::strtof(start, &end);
  if (end != p) return false;
  // "%f" also reads "inf", "nan" and 1e40 (infinite as a float): none is a time zone.
  if (!std::isfinite(number)) return false;
  *value = static_cast<double>(number);
  return true;
}

bool ReadWholeNumberText(const char *text, std::int32_t *value) {
  const char *p = text;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!IsDigit(*p)) return false;
  long long number = 0;
  for (; IsDigit(*p); ++p) {
    number = number * 10 + (*p - '0');
    if (number > 2147483648LL) return false;
  }
  while (IsWhiteSpace(*p)) ++p;
  if (*p != '\0') return false;
  if (negative) number = -number;
  if (number > 2147483647LL) return false;
  *value = static_cast<std::int32_t>(number);
  return true;
}

void CenteredPosition(const PlainRect &area, const PlainRect &window, int *x, int *y) {
  const int cx = (area.left + area.right) / 2;
  const int cy = (area.top + area.bottom) / 2;
  const int width = window.right - window.left + 1;
  const int height = window.bottom - window.top + 1;
  *x = cx - width / 2;
  *y = cy - height / 2;
  if (*x < area.left) {
    *x = area.left;
  } else if (*x + width > area.right) {
    *x = area.right - width;
  }
  if (*y < area.top) {
    *y = area.top;
  } else if (*y + height > area.bottom) {
    *y = area.bottom - height;
  }
}
