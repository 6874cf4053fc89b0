// Fuzzes the number text of the dialog fields under any punctuation: reading a real number
// gives a finite single-precision value or refuses; what the program writes for a value it
// reads back close to that value; a whole number is accepted only when the text holds nothing
// but blanks, a sign and digits, and reads back from its own printing; white space removal
// leaves no white space; a DUT1 text is read within 0.9 s or refused, and reads back from
// its own writing.
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialogs/dut1_text.h"
#include "dialogs/field_text.h"
#include "display/intl.h"
#include "location/city_table.h"
#include "support/hooks.h"

namespace {

char g_decimal[2] = ".";
int g_leadingZero = 1;

void ReadProfileString(const char *, const char *key, const char *defaultValue, char *out, int size) {
  std::snprintf(out, static_cast<std::size_t>(size), "%s",
                std::strcmp(key, "sdecimal") == 0 ? g_decimal : defaultValue);
}

int ReadProfileInt(const char *, const char *key, int defaultValue) {
  return std::strcmp(key, "iLzero") == 0 ? g_leadingZero : defaultValue;
}

void Fail(int line, const char *what) {
  std::fprintf(stderr, "check failed at line %d: %s\n", line, what);
  std::abort();
}
#define Check(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 2) return 0;
  const char decimals[] = ".,;x 0-";
  g_decimal[0] = decimals[data[0] % (sizeof decimals - 1)];
  g_leadingZero = data[0] & 0x80 ? 1 : 0;
  g_platform.readProfileString = ReadProfileString;
  g_platform.readProfileInt = ReadProfileInt;
  RefreshIntlSettings();
  const int precision = 1 + data[1] % 3;  // the dialog writes 2 decimals; 0 would leave "." for 0
  const std::string text(reinterpret_cast<const char *>(data + 2), size - 2);

  double value = 12345.0;
  if (ReadRealText(text.c_str(), &value)) {
    Check(std::isfinite(value) && std::fabs(value) <= FLT_MAX);
    char written[kTextSize];
    FormatSignedNumber(value, 3, precision, written);
    Check(std::strlen(written) < sizeof written);
    RemoveWhiteSpace(written);
    // Only punctuation that a number cannot be confused with reads back; the dialog shows
    // time zones, far below a long's range (beyond it the whole part is not written right).
    if ((g_decimal[0] == '.' || g_decimal[0] == ',') && std::fabs(value) < 1e9) {
      double back = 0;
      Check(ReadRealText(written, &back));
      const double step = std::pow(10.0, -precision);
      Check(std::fabs(back - value) <= step / 2 + std::fabs(value) * 1e-6 + 1e-9);
    }
  } else {
    Check(value == 12345.0);  // a refusal leaves the value as it was
  }

  std::int32_t whole = 12345;
  if (ReadWholeNumberText(text.c_str(), &whole)) {
    int signs = 0;
    for (const char *p = text.c_str(); *p != '\0'; ++p) {
      const unsigned char c = static_cast<unsigned char>(*p);
      signs += c == '+' || c == '-';
      Check(std::isdigit(c) || c == '+' || c == '-' || IsWhiteSpace(*p));
    }
    Check(signs <= 1);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%ld", static_cast<long>(whole));
    std::int32_t back = 0;
    Check(ReadWholeNumberText(printed, &back) && back == whole);
  } else {
    Check(whole == 12345);
  }

  int dut1 = 12345;
  if (ReadDut1Text(text.c_str(), &dut1)) {
    Check(dut1 >= -900 && dut1 <= 900);
    char written[kTextSize];
    FormatDut1Text(dut1, written);
    int back = 12345;
    if (g_decimal[0] == '.' || g_decimal[0] == ',') Check(ReadDut1Text(written, &back) && back == dut1);
  } else {
    Check(dut1 == 12345);
  }

  std::string copy = text.substr(0, 200);
  RemoveWhiteSpace(&copy[0]);
  for (const char *p = copy.c_str(); *p != '\0'; ++p) Check(!std::isspace(static_cast<unsigned char>(*p)));
  return 0;
}
