// Number text of the dialog fields, and centring arithmetic.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "dialogs/dut1_text.h"
#include "dialogs/field_text.h"
#include "display/intl.h"
#include "fake_platform.h"

namespace {

class FieldText : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
  void UseLocale(const char *decimal, int leadingZero) {
    g_fake.intl["sdecimal"] = decimal;
    g_fake.intl["iLzero"] = std::to_string(leadingZero);
    RefreshIntlSettings();
  }
  static std::string Shown(double value) {
    char text[kTextSize];
    FormatSignedNumber(value, 6, 2, text);
    RemoveWhiteSpace(text);
    return text;
  }
};

TEST_F(FieldText, ZoneTextInEachPunctuation) {
  struct Case {
    const char *decimal;
    int leadingZero;
    double value;
    const char *shown;
  } cases[] = {
      {".", 1, -5.0, "-5.00"},  {".", 1, 5.5, "5.50"},   {".", 1, 9.75, "9.75"},
      {".", 1, 1.0, "1.00"},    {".", 1, 12.0, "12.00"}, {".", 1, 10.0, "10.00"},
      {".", 1, 0.0, "0.00"},    {".", 0, 0.0, ".00"},    {".", 0, 0.5, ".50"},
      {".", 0, 1.0, "1.00"},    {",", 1, 5.5, "5,50"},   {".", 1, -12.0, "-12.00"},
      // A negative zone above -1 keeps its sign.
      {".", 1, -0.5, "-0.50"},  {".", 0, -0.5, "-.50"},  {".", 1, -0.0, "0.00"},
      // A fraction rounding up carries into the whole hours.
      {".", 1, 0.999, "1.00"},  {".", 1, 1.999, "2.00"}, {".", 1, -3.999, "-4.00"},
      {".", 0, 0.996, "1.00"},  {".", 1, static_cast<double>(5.3f), "5.30"},
  };
  for (const auto &c : cases) {
    UseLocale(c.decimal, c.leadingZero);
    EXPECT_EQ(Shown(c.value), c.shown) << c.value << " lz " << c.leadingZero;
  }
}

// DUT1 is typed in seconds, to the millisecond, within 0.9 s either way, in the user's
// decimal punctuation; what is written back reads as the same milliseconds.
TEST_F(FieldText, Dut1TextInWholeMilliseconds) {
  struct Case {
    const char *decimal;
    const char *text;
    bool reads;
    int ms;
  } cases[] = {
      {".", "0.123", true, 123},   {".", " -0.9 ", true, -900}, {".", "+.5", true, 500},
      {".", "0", true, 0},         {".", "-0", true, 0},        {".", "0.9000", true, 900},
      {",", "-0,072", true, -72},  {".", ".0405", false, 0},    {".", "0.901", false, 0},
      {".", "-1", false, 0},       {".", "1.000", false, 0},    {".", "100000000000.1", false, 0},
      {",", "0.5", false, 0},      {".", "", false, 0},         {".", "-", false, 0},
      {".", ".", false, 0},        {".", "0.5s", false, 0},     {".", "0.5e0", false, 0},
      {".", "0x0.1", false, 0},    {".", "nan", false, 0},      {".", "0. 5", false, 0},
  };
  for (const auto &c : cases) {
    UseLocale(c.decimal, 1);
    int ms = 777;
    EXPECT_EQ(ReadDut1Text(c.text, &ms), c.reads) << c.text;
    EXPECT_EQ(ms, c.reads ? c.ms : 777) << c.text;
  }
  struct Shown {
    const char *decimal;
    int leadingZero;
    int ms;
    const char *text;
  } shown[] = {
      {".", 1, 123, "0.123"}, {".", 1, -900, "-0.900"}, {".", 0, -72, "-.072"},
      {",", 1, 5, "0,005"},   {".", 1, 0, "0.000"},     {".", 0, 899, ".899"},
  };
  for (const auto &c : shown) {
    UseLocale(c.decimal, c.leadingZero);
    char text[kTextSize];
    FormatDut1Text(c.ms, text);
    EXPECT_STREQ(text, c.text);
    int back = 0;
    EXPECT_TRUE(ReadDut1Text(text, &back) && back == c.ms) << text;
  }
  // Its date, stored as YYYYMMDD, is shown as YYYY-MM-DD; a damaged one as not entered ("").
  for (const auto &[stored, date] : std::map<int, std::string>{
           {20260304, "2026-03-04"}, {0, ""}, {20261301, ""}, {20260132, ""}, {-20260304, ""}}) {
    char text[11] = "x";
    EXPECT_EQ(FormatDut1Date(stored, text), !date.empty()) << stored;
    EXPECT_EQ(text, date) << stored;
  }
}

TEST_F(FieldText, FormattedNumberKeepsItsWidthBeforeBlanksGo) {
  char text[kTextSize];
  FormatSignedNumber(-5.0, 6, 2, text);
  EXPECT_STREQ(text, "    -5.00");
  UseLocale(".", 0);
  FormatSignedNumber(0.25, 6, 2, text);
  EXPECT_STREQ(text, "      .25");
}

TEST_F(FieldText, RemovingWhiteSpace) {
  char text[] = " \t1 2\r\n3\v\f ";
  RemoveWhiteSpace(text);
  EXPECT_STREQ(text, "123");
}

TEST_F(FieldText, ReadingARealNumber) {
  struct Case {
    const char *decimal, *text;
    bool ok;
    double value;
  } cases[] = {
      {",", "5,75", true, 5.75},    {".", "5.5", true, 5.5},
      {",", "5.5", true, 5.5},      {".", "5.5 hours", true, 5.5},
      {".", "  -3.5", true, -3.5},  {".", "5.3", true, static_cast<double>(5.3f)},
      {".", "abc", false, 0},       {".", "", false, 0},
      {".", "nan", false, 0},       {".", "-inf", false, 0},
      {".", "infinity", false, 0},  {".", "1e40", false, 0},
      {".", "12", true, 12.0},      {",", "-0,5", true, -0.5},
      // Decimal only, and nothing glued to the number: no hex prefix, no trailing word.
      {".", "0x", false, 0},        {".", "0x1A", false, 0},
      {".", "5abc", false, 0},      {".", "1e3", true, 1000.0},
      {".", "-2.5\t", true, -2.5},
  };
  for (const auto &c : cases) {
    UseLocale(c.decimal, 1);
    double value = 99.0;
    EXPECT_EQ(ReadRealText(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 99.0) << c.text;  // untouched on failure
  }
}

TEST_F(FieldText, ReadingAWholeNumber) {
  struct Case {
    const char *text;
    bool ok;
    int value;
  } cases[] = {
      {"104", true, 104},   {" -5 ", true, -5},         {"+7", true, 7},
      {"104.98", false, 0}, {"1e3", false, 0},          {"5abc", false, 0},
      {"", false, 0},       {" ", false, 0},            {"-", false, 0},
      {"0x1A", false, 0},   {"2147483648", false, 0},   {"-2147483648", true, -2147483647 - 1},
      {"5 6", false, 0},
  };
  for (const Case &c : cases) {
    std::int32_t value = 99;
    EXPECT_EQ(ReadWholeNumberText(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 99) << c.text;
  }
}

TEST(Centring, KeepsTheWindowOnTheWorkArea) {
  const PlainRect vga = {0, 0, 640, 480};
  const PlainRect left = {-1920, 0, 0, 1040};   // a monitor left of the main one
  const PlainRect above = {0, -1050, 1680, -40};  // above it, its taskbar along its foot
  const PlainRect topBar = {0, 40, 1024, 768};    // a taskbar along the top
  struct Case {
    PlainRect area, window;
    int x, y;
  } cases[] = {
      {vga, {0, 0, 200, 100}, 220, 190},  // measured as 201 x 101
      {vga, {0, 0, 200, 700}, 220, 0},    // taller than the screen: top at 0
      {vga, {0, 0, 900, 100}, 0, 190},
      // Worked by hand: a 301 x 201 window on 1024 x 768 sits 362 in and 284 down
      // (centre 512, 384 less 150 and 100); on 800 x 600, 250 and 200.
      {{0, 0, 1024, 768}, {0, 0, 300, 200}, 362, 284},
      {{0, 0, 800, 600}, {10, 20, 310, 220}, 250, 200},
      // On the monitor left: centre -960, 520, less 150 and 100.
      {left, {0, 0, 300, 200}, -1110, 420},
      {left, {0, 0, 2500, 200}, -1920, 420},  // wider than it: its left edge
      {above, {0, 0, 300, 200}, 690, -645},   // centre 840, -545
      {above, {0, 0, 300, 1200}, 690, -1050},
      {topBar, {0, 0, 300, 800}, 362, 40},  // below the taskbar, not under it
      {topBar, {0, 0, 300, 200}, 362, 304},
  };
  for (const auto &c : cases) {
    int x = -1, y = -1;
    CenteredPosition(c.area, c.window, &x, &y);
    EXPECT_EQ(x, c.x) << c.area.left << "," << c.area.top;
    EXPECT_EQ(y, c.y) << c.area.left << "," << c.area.top;
  }
}

}  // namespace
