// The locale cache: defaults, first characters, and when the profile is read.
#include <gtest/gtest.h>

#include "display/intl.h"
#include "fake_platform.h"

namespace {

class Intl : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
};

TEST_F(Intl, DefaultsWhenTheProfileHasNoEntries) {
  EXPECT_EQ(IntlLeadingZero(0), 1);
  EXPECT_EQ(IntlDecimalChar(0), '.');
  EXPECT_EQ(IntlTimeLeadingZero(0), 0);
  EXPECT_EQ(IntlTimeSeparator(0), ':');
}

TEST_F(Intl, EntriesAreTakenAsTheProfileGivesThem) {
  struct Case {
    const char *iLzero, *sdecimal, *itlzero, *stime;
    int leadingZero;
    char decimal;
    int timeLeadingZero;
    char separator;
  } cases[] = {
      {"0", ",", "1", ".", 0, ',', 1, '.'},
      {"2", "::", "2", "::", 0, ':', 0, ':'},  // only 1 counts; only the first character
      {"1", "", "7", "", 1, '\0', 0, '\0'},    // present but empty gives NUL
  };
  for (const Case &c : cases) {
    g_fake.intl = {{"iLzero", c.iLzero}, {"sdecimal", c.sdecimal}, {"itlzero", c.itlzero},
                   {"stime", c.stime}};
    RefreshIntlSettings();
    EXPECT_EQ(IntlLeadingZero(0), c.leadingZero);
    EXPECT_EQ(IntlDecimalChar(0), c.decimal);
    EXPECT_EQ(IntlTimeLeadingZero(0), c.timeLeadingZero);
    EXPECT_EQ(IntlTimeSeparator(0), c.separator);
  }
}

TEST_F(Intl, EachValueIsReadOnceUntilRefreshed) {
  g_fake.intl["stime"] = ".";
  EXPECT_EQ(IntlTimeSeparator(0), '.');  // first query reads without a refresh
  EXPECT_EQ(g_fake.profileReads, 1);
  g_fake.intl["stime"] = "-";
  EXPECT_EQ(IntlTimeSeparator(0), '.');  // cached: the change is not seen
  EXPECT_EQ(g_fake.profileReads, 1);
  EXPECT_EQ(IntlTimeLeadingZero(0), 0);  // another value has its own flag
  EXPECT_EQ(g_fake.profileReads, 2);
  EXPECT_EQ(IntlTimeSeparator(1), '-');  // refresh reads again
  EXPECT_EQ(g_fake.profileReads, 3);
  RefreshIntlSettings();
  EXPECT_EQ(g_fake.profileReads, 7);
  IntlDecimalChar(0);
  IntlLeadingZero(0);
  EXPECT_EQ(g_fake.profileReads, 7);
}

}  // namespace
