// The clock text in 24- and 12-hour form, with the locale's punctuation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "display/chimes.h"
#include "display/chimes_probe.h"
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
    const char *cut;  // the second the reading is in, as the sidereal scales show it
  } cases[] = {
      {0.0, 0, " 0:00:00", "12:00:00 AM", " 0:00:00"},
      {0.0, 1, "00:00:00", "12:00:00 AM", "00:00:00"},
      {9.5, 0, " 9:30:00", " 9:30:00 AM", " 9:30:00"},
      {9.5, 1, "09:30:00", "09:30:00 AM", "09:30:00"},
      {12.0, 0, "12:00:00", "12:00:00 PM", "12:00:00"},
      {Hms(13, 5, 9), 0, "13:05:09", " 1:05:09 PM", "13:05:09"},
      {Hms(13, 5, 9), 1, "13:05:09", "01:05:09 PM", "13:05:09"},
      {Hms(10, 30, 15), 0, "10:30:15", "10:30:15 AM", "10:30:15"},
      {Hms(11, 59, 59.6), 0, "12:00:00", "12:00:00 PM", "11:59:59"},
      {Hms(23, 59, 59.7), 0, " 0:00:00", "12:00:00 AM", "23:59:59"},
      {Hms(23, 59, 59.9996), 0, " 0:00:00", "12:00:00 AM", " 0:00:00"},  // within the lead
      {Hms(7, 8, 9.998), 0, " 7:08:10", " 7:08:10 AM", " 7:08:09"},
      {24.0, 0, " 0:00:00", "12:00:00 AM", " 0:00:00"},
      {0.9999999962747097, 0, " 1:00:00", " 1:00:00 AM", " 1:00:00"},
      {10.617694592935948, 0, "10:37:04", "10:37:04 AM", "10:37:03"},
      {-9.5, 0, " 9:30:00", " 9:30:00 AM", " 9:30:00"},  // by magnitude
      {23.0, 1, "23:00:00", "11:00:00 PM", "23:00:00"},
  };
  for (const auto &c : cases) {
    UseLocale(":", c.lz);
    char text[kTextSize];
    FormatClockText(c.hours, text);
    EXPECT_STREQ(text, c.text24) << c.hours << " lz " << c.lz;
    MakeTwelveHourText(text);
    EXPECT_STREQ(text, c.text12) << c.hours << " lz " << c.lz;
    FormatClockTextCut(c.hours, text);
    EXPECT_STREQ(text, c.cut) << c.hours << " lz " << c.lz;
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

TEST_F(ClockText, AnyHoursValueGivesAClockTextOfTheDay) {
  // A hand-edited longitude far out of range once showed "6651:..." and "25:31:58".
  UseLocale(":", 1);
  struct Case {
    double hours;
    const char *text24;
  } cases[] = {
      {6651.5, "03:30:00"},  {25.5, "01:30:00"},         {48.0, "00:00:00"},
      {-30.25, "06:15:00"},  {1.45e8, "16:00:00"},       {1e300, nullptr},
      {-1e300, nullptr},     {std::nan(""), "00:00:00"}, {HUGE_VAL, "00:00:00"},
  };
  for (const Case &c : cases) {
    char text[kTextSize];
    FormatClockText(c.hours, text);
    ASSERT_EQ(std::strlen(text), 8u) << c.hours << ": " << text;
    EXPECT_LE((text[0] - '0') * 10 + (text[1] - '0'), 23) << c.hours << ": " << text;
    if (c.text24 != nullptr) {
      EXPECT_STREQ(text, c.text24) << c.hours;
    }
    MakeTwelveHourText(text);
    EXPECT_EQ(std::strlen(text), 11u) << c.hours << ": " << text;
  }
}

TEST_F(ClockText, ChimeIsArmedAtMinuteZeroWhateverTheSeparator) {
  // With an empty separator the 12-hour designator lands where the minutes used to be.
  struct Case {
    const char *separator;
    bool twelveHour;
    int chimes;
  } cases[] = {{":", false, 13}, {":", true, 1}, {"", false, 13}, {"", true, 1}, {".", true, 1}};
  for (const Case &c : cases) {
    UseLocale(c.separator, 0);
    char last[kTextSize] = {};
    char text[kTextSize] = {};
    SetPendingChimeCount(0);
    for (double hours : {Hms(12, 59, 59), Hms(13, 0, 0), Hms(13, 0, 1)}) {
      const int minute = FormatClockText(hours, text);
      if (c.twelveHour) MakeTwelveHourText(text);
      DetectHourlyChime(text, last, minute);
      std::memcpy(last, text, sizeof last);
      if (hours == Hms(13, 0, 0)) {
        EXPECT_EQ(PendingChimeCount(), c.chimes) << "'" << c.separator << "' " << c.twelveHour;
        SetPendingChimeCount(0);
      }
    }
    EXPECT_EQ(PendingChimeCount(), 0) << "armed again at 13:00:01";
  }
}

}  // namespace
