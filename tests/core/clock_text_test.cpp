// The clock text in 24- and 12-hour form, with the locale's punctuation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "display/clock_text.h"
#include "display/intl.h"
#include "fake_platform.h"

namespace {

class ClockText : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
  void UseLocale(const char *separator, int timeLeadingZero) {
    g_fake.intl["stime"] = separator;
    g_fake.intl["itlzero"] = std::to_string(timeLeadingZero);
    RefreshIntlSettings();
  }
};

constexpr double Hms(int h, int m, double s) { return h + m / 60.0 + s / 3600.0; }

TEST_F(ClockText, TableOfTwentyFourAndTwelveHourForms) {
  struct Case {
    double hours;
    int lz;
    const char *text24;
    const char *text12;
  } cases[] = {
      {0.0, 0, " 0:00:00", "12:00:00 AM"},
      {0.0, 1, "00:00:00", "12:00:00 AM"},
      {9.5, 0, " 9:30:00", " 9:30:00 AM"},
      {9.5, 1, "09:30:00", "09:30:00 AM"},
      {12.0, 0, "12:00:00", "12:00:00 PM"},
      {Hms(13, 5, 9), 0, "13:05:09", " 1:05:09 PM"},
      {Hms(13, 5, 9), 1, "13:05:09", "01:05:09 PM"},
      {Hms(10, 30, 15), 0, "10:30:15", "10:30:15 AM"},
      {Hms(11, 59, 59.6), 0, "12:00:00", "12:00:00 PM"},
      {Hms(23, 59, 59.7), 0, " 0:00:00", "12:00:00 AM"},
      {24.0, 0, " 0:00:00", "12:00:00 AM"},
      {0.9999999962747097, 0, " 1:00:00", " 1:00:00 AM"},
      {10.617694592935948, 0, "10:37:04", "10:37:04 AM"},
      {-9.5, 0, " 9:30:00", " 9:30:00 AM"},  // by magnitude
      {23.0, 1, "23:00:00", "11:00:00 PM"},
  };
  for (const auto &c : cases) {
    UseLocale(":", c.lz);
    char text[kTextSize];
    FormatClockText(c.hours, text);
    EXPECT_STREQ(text, c.text24) << c.hours << " lz " << c.lz;
    MakeTwelveHourText(text);
    EXPECT_STREQ(text, c.text12) << c.hours << " lz " << c.lz;
  }
}

TEST_F(ClockText, UsesTheLocaleSeparator) {
  UseLocale(".", 1);
  char text[kTextSize];
  FormatClockText(Hms(7, 8, 9), text);
  EXPECT_STREQ(text, "07.08.09");
}

TEST_F(ClockText, NulSeparatorEndsTheTextAfterTheHour) {
  UseLocale("", 0);
  char text[kTextSize];
  std::memset(text, 'x', sizeof text);
  FormatClockText(Hms(13, 5, 9), text);
  EXPECT_STREQ(text, "13");
  // Minutes and seconds still stand where the chime detection looks for them.
  EXPECT_EQ(std::string(text + 3, 2), "05");
  EXPECT_EQ(std::string(text + 6, 2), "09");
}

TEST_F(ClockText, HugeHoursStayWithinTheBuffer) {
  UseLocale(":", 0);
  char text[kTextSize];
  // The hours saturate at the largest int; the 12-hour form reads and replaces only the
  // first two digits.
  const struct {
    double hours;
    const char *text24, *text12;
  } cases[] = {{1.45e8, "145000000:00:00", " 25000000:00:00 PM"},
               {1e300, "2147483647:00:00", " 947483647:00:00 PM"},
               {-1e300, "2147483647:00:00", " 947483647:00:00 PM"}};
  for (const auto &c : cases) {
    FormatClockText(c.hours, text);
    EXPECT_STREQ(text, c.text24);
    MakeTwelveHourText(text);
    EXPECT_STREQ(text, c.text12);
  }
}

}  // namespace
