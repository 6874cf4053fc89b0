// The DUT1 field's text, read and written in whole milliseconds, and its date. Portable.
#include "dialogs/dut1_text.h"

#include <cstdio>

#include "astro/apparent.h"
#include "dialogs/field_text.h"
#include "display/intl.h"
#include "location/city_table.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ReadDut1Text(const char *text, int *milliseconds) {
  const char *p = text;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  // Digits are counted, not accumulated without end: a whole second or more is out of range
  // however many digits say so.
  int whole = 0;
  int digits = 0;
  for (; IsDigit(*p); ++p, ++digits) {
    if (whole < 10) whole = whole * 10 + (*p - '0');
  }
  int thousandths = 0;
  if (*p == IntlDecimalChar(0)) {
    int decimals = 0;
    for (++p; IsDigit(*p); ++p, ++digits, ++decimals) {
      if (decimals < 3) {
        thousandths = thousandths * 10 + (*p - '0');
      } else if (*p != '0') {
        return false;  // finer than a millisecond
      }
    }
    for (; decimals < 3; ++decimals) thousandths *= 10;
  }
  while (IsWhiteSpace(*p)) ++p;
  if (digits == 0 || *p != '\0' || whole > 0) return false;
  if (thousandths > kDut1LimitMs) return false;
  *milliseconds = negative ? -thousandths : thousandths;
  return true;
}

void FormatDut1Text(int milliseconds, char *out) {
  FormatSignedNumber(milliseconds / 1000.0, 0, 3, out);
}

int Dut1DateOf(const CivilTime &today) {
  return today.year * 10000 + today.month * 100 + today.day;
}

bool FormatDut1Date(int yyyymmdd, char *out) {
  out[0] = '\0';
  const int year = yyyymmdd / 10000;
  const int month = yyyymmdd / 100 % 100;
  const int day = yyyymmdd % 100;
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  std::snprintf(out, 11, "%04d-%02d-%02d", year, month, day);
  return true;
}
