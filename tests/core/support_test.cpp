// Warnings, fatal reports and the reading of stored setting values.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "support/errors.h"
#include "support/held_file.h"
#include "support/settings_value.h"

namespace {

class Reports : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
};

TEST_F(Reports, WarningCaptionDependsOnTheFatalFlagBeingExactlyOne) {
  int owner = 0;
  const struct {
    int fatal;
    const char *caption;
  } cases[] = {{0, "Orvane 2 - Error"}, {1, "Orvane 2 - Fatal Error"}, {2, "Orvane 2 - Error"}};
  for (const auto &c : cases) {
    g_fake.boxes.clear();
    ShowWarning(&owner, 59, c.fatal);
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].caption, c.caption);
    EXPECT_EQ(g_fake.boxes[0].text, "Invalid number");
    EXPECT_EQ(g_fake.boxes[0].owner, &owner);
    EXPECT_EQ(g_fake.boxes[0].style, kBoxOk | kBoxIconExclamation | kBoxTaskModal);
  }
}

TEST_F(Reports, FailIfWithoutItsConditionDoesNothing) {
  FailIf(0, 64, "clock", 42);
  EXPECT_TRUE(g_fake.boxes.empty());
  EXPECT_EQ(g_fake.clockStops, 0);
  EXPECT_TRUE(g_fake.exits.empty());
}

TEST_F(Reports, FailIfStopsTheClockShowsTwoBoxesAndExitsWithOne) {
  EXPECT_THROW(FailIf(1, 64, "clock", 42), ProcessEnded);
  EXPECT_EQ(g_fake.clockStops, 1);
  ASSERT_EQ(g_fake.boxes.size(), 2u);
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Fatal Error");
  EXPECT_EQ(g_fake.boxes[0].text, "Window error");
  EXPECT_EQ(g_fake.boxes[0].owner, nullptr);
  EXPECT_EQ(g_fake.boxes[1].caption, "");
  EXPECT_EQ(g_fake.boxes[1].text, "clock/42");
  EXPECT_EQ(g_fake.boxes[1].style, kBoxOk | kBoxIconInformation | kBoxTaskModal);
  ASSERT_EQ(g_fake.exits.size(), 1u);
  EXPECT_EQ(g_fake.exits[0], 1);  // a failure, not success
}

TEST(SourceFileName, KeepsOnlyTheFileName) {
  EXPECT_STREQ(SourceFileName("/work/display/clock_face.cpp"), "clock_face.cpp");
  EXPECT_STREQ(SourceFileName("C:\\src\\clock"), "clock");
  EXPECT_STREQ(SourceFileName("clock"), "clock");
}

TEST(HeldFile, OnlyAHoldIsWaitedForAndNeverLongerThanASecond) {
  const struct {
    FileRefusal refusal;
    bool fixed;
    int waited, delay;
  } cases[] = {
      {FileRefusal::kHeld, false, 0, kHeldFileSleepMs},
      {FileRefusal::kHeld, true, 0, kHeldFileSleepMs},  // a held read-only file is still held
      {FileRefusal::kAccessDenied, false, 0, kHeldFileSleepMs},
      {FileRefusal::kAccessDenied, true, 0, -1},        // read-only: waiting mends nothing
      {FileRefusal::kOther, false, 0, -1},
      {FileRefusal::kHeld, false, kHeldFileWaitMs - 10, 10},
      {FileRefusal::kHeld, false, kHeldFileWaitMs, -1},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(HeldFileRetryDelay(c.refusal, c.fixed, c.waited), c.delay) << c.waited;
  }
  int waited = 0;
  int tries = 1;
  for (int d; (d = HeldFileRetryDelay(FileRefusal::kHeld, false, waited)) >= 0; ++tries) waited += d;
  EXPECT_EQ(waited, kHeldFileWaitMs);
  EXPECT_EQ(tries, kHeldFileWaitMs / kHeldFileSleepMs + 1);
}

// Every setting reads digits only; a window's X and Y may also have one leading minus, since a
// window left of or above the main monitor, or flush with the screen's left edge (whose
// invisible frame lies past it), stands at a negative place and must come back there.
TEST(SettingValue, OnlyDigitsThatFitAnIntAreReadAndAMinusOnlyForAPlace) {
  const int d = -77;
  const struct {
    const char *text;
    int value, coordinate;
  } cases[] = {
      {"0", 0, 0}, {"3", 3, 3}, {"0042", 42, 42}, {"2147483647", 2147483647, 2147483647},
      {"", d, d}, {"+4", d, d}, {" 4", d, d}, {"4 ", d, d}, {"4a", d, d}, {"1.5", d, d},
      {"2147483648", d, d}, {"99999999999999999999999", d, d},
      {"-4", d, -4}, {"-7", d, -7}, {"-1920", d, -1920}, {"-0", d, 0}, {"-0042", d, -42},
      {"-2147483648", d, -2147483647 - 1}, {"-2147483649", d, d}, {"-99999999999", d, d},
      {"-", d, d}, {"--5", d, d}, {"- 5", d, d}, {"-5-", d, d}, {"+-5", d, d}, {" -5", d, d},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ParseSettingInt(c.text, d), c.value) << c.text;
    EXPECT_EQ(ParseSettingCoordinate(c.text, d), c.coordinate) << c.text;
  }
}

}  // namespace
