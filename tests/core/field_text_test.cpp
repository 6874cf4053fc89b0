// Number text of the dialog fields, the help file's text, and centring arithmetic.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dialogs/field_text.h"
#include "display/intl.h"
#include "fake_platform.h"
#include "shell/help_text.h"

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

TEST(Centring, KeepsTheWindowOnTheScreen) {
  struct Case {
    int screenW, screenH, left, top, right, bottom, x, y;
  } cases[] = {
      {640, 480, 0, 0, 200, 100, 220, 190},  // measured as 201 x 101
      {640, 480, 0, 0, 200, 700, 220, 0},    // taller than the screen: top at 0
      {640, 480, 0, 0, 900, 100, 0, 190},
  };
  for (const auto &c : cases) {
    int x = -1, y = -1;
    CenteredPosition(c.screenW, c.screenH, 0, 0, c.screenW, c.screenH, c.left, c.top, c.right,
                     c.bottom, &x, &y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

HelpDocument Parse(const std::string &text) {
  HelpDocument d{};
  EXPECT_TRUE(ParseHelpText(text.data(), text.size(), &d));
  return d;
}

TEST(HelpText, TopicsKeywordsAndParagraphs) {
  const std::string file =
      "; a comment\r\n"
      "stray text before any topic\r\n"
      "== contents | Contents\r\n"
      "keywords: Index;  Contents ;\r\n"
      "Orvane 2 shows\r\n"
      "the time.\r\n"
      "\r\n"
      "\r\n"
      "Second paragraph.\r\n"
      "- one item\r\n"
      "  Denver |104|59| 3|W|-7.00|1\r\n"
      "After the list.\r\n"
      "\r\n"
      "== KEYS | Keyboard\r\n"
      "F5 to F9 switch.\r\n"
      "keywords: not a keyword line here\r\n"
      "== empty\n";
  HelpDocument d = Parse(file);
  ASSERT_EQ(d.count, 3);
  EXPECT_STREQ(d.topics[0].id, "contents");
  EXPECT_STREQ(d.topics[0].title, "Contents");
  EXPECT_STREQ(d.topics[0].keywords, "index;contents;");
  EXPECT_STREQ(d.topics[0].body,
               "Orvane 2 shows the time.\r\n\r\nSecond paragraph.\r\n- one item\r\n"
               "  Denver |104|59| 3|W|-7.00|1\r\nAfter the list.");
  EXPECT_STREQ(d.topics[1].id, "keys");
  EXPECT_STREQ(d.topics[1].keywords, "");
  EXPECT_STREQ(d.topics[1].body, "F5 to F9 switch. keywords: not a keyword line here");
  EXPECT_STREQ(d.topics[2].id, "empty");
  EXPECT_STREQ(d.topics[2].title, "empty");
  EXPECT_STREQ(d.topics[2].body, "");
  EXPECT_EQ(FindHelpTopicByKeyword(d, " INDEX "), 0);
  EXPECT_EQ(FindHelpTopicByKeyword(d, "index;contents"), -1);
  EXPECT_EQ(FindHelpTopicByKeyword(d, "keys"), -1);
  EXPECT_EQ(FindHelpTopicByKeyword(d, ""), -1);
  EXPECT_EQ(FindHelpTopicById(d, "Keys"), 1);
  EXPECT_EQ(FindHelpTopicById(d, "nothing"), -1);
  FreeHelpDocument(&d);
  EXPECT_EQ(d.count, 0);
}

TEST(HelpText, OddInputGivesAnEmptyOrPartialDocument) {
  HelpDocument d = Parse("");
  EXPECT_EQ(d.count, 0);
  FreeHelpDocument(&d);
  d = Parse(std::string("\0\xff\n==", 5));
  EXPECT_EQ(d.count, 0);
  FreeHelpDocument(&d);
  const char nulBytes[] = "== a\0 | hidden\nbody\0 hidden\n== b|B";
  d = Parse(std::string(nulBytes, sizeof nulBytes - 1));
  ASSERT_EQ(d.count, 2);
  EXPECT_STREQ(d.topics[0].id, "a");
  EXPECT_STREQ(d.topics[0].body, "body");
  EXPECT_STREQ(d.topics[1].title, "B");
  FreeHelpDocument(&d);
}

TEST(HelpText, TheShippedHelpFileHasTheTopicsTheMenusOpen) {
#ifdef _WIN32
  const char path[] = "Z:" ORVANE_SOURCE_DIR "/resources/ZORKEL.HLP";
#else
  const char path[] = ORVANE_SOURCE_DIR "/resources/ZORKEL.HLP";
#endif
  std::FILE *f = std::fopen(path, "rb");
  ASSERT_NE(f, nullptr);
  std::string text;
  for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(f);
  HelpDocument d = Parse(text);
  EXPECT_EQ(FindHelpTopicById(d, "contents"), 0);
  EXPECT_GE(FindHelpTopicByKeyword(d, "keys"), 0);
  EXPECT_GE(FindHelpTopicById(d, "helponhelp"), 0);
  for (int i = 0; i < d.count; ++i) EXPECT_STRNE(d.topics[i].body, "") << d.topics[i].id;
  FreeHelpDocument(&d);
}

}  // namespace
