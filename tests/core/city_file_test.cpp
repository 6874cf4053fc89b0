// The city database text: reading hand-made and program-made files, writing them back, and
// the clock staying defined for whatever a file holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "astro/clock_reading.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "fake_platform.h"
#include "location/city_file.h"
#include "location/city_table.h"

namespace {

std::FILE *StreamOf(const std::string &text) {
  std::FILE *f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

std::string TextOf(std::FILE *f) {
  std::string text;
  std::rewind(f);
  for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

class CityFile : public testing::Test {
 protected:
  void SetUp() override {
    InstallFakePlatform();
    ResetCityTable();
  }
  void TearDown() override { ResetCityTable(); }

  Location Load(const std::string &text) {
    ResetCityTable();
    std::FILE *f = StreamOf(text);
    Location l{};
    ReadCityFile(f, &l);
    std::fclose(f);
    return l;
  }
  static std::string Save() {
    std::FILE *f = std::tmpfile();
    EXPECT_TRUE(WriteCityFile(f));
    std::string text = TextOf(f);
    std::fclose(f);
    return text;
  }
  static std::string Row(int i) {
    const CityRecord *r = CityRow(i);
    char text[200];
    std::snprintf(text, sizeof text, "%s/%d/%d/%d/%d/%.17g/%d", r->name, r->degrees, r->minutes,
                  r->seconds, r->hemisphere, r->zone, r->dst);
    return text;
  }
};

TEST_F(CityFile, WritesTheExactLineFormat) {
  Load("Denver\nDenver|104|59|0|W|-7.00|1\nSt. John's|52|43|0|W|-3.5|1\n"
       "Sydney|151|12|0|E|10|0\nLondon|0|7|39|W|0|0\n");
  EXPECT_EQ(Save(),
            "Denver\n"
            "Denver              |104|59| 0|W|-7.00|1\n"
            "St. John's          | 52|43| 0|W|-3.50|1\n"
            "Sydney              |151|12| 0|E|10.00|0\n"
            "London              |  0| 7|39|W|0.00|0\n");
}

TEST_F(CityFile, ReadsHandEditedLines) {
  struct Case {
    const char *line;
    const char *row;  // name/deg/min/sec/hemisphere/zone/dst
  } cases[] = {
      {"Paris|2|20|14|E|1.00", "Paris/2/20/14/3/1/1"},              // no seventh field: DST 1
      {"Paris||2|20|14|E|1.00|0", "Paris/2/20/14/3/1/0"},           // doubled separator
      {"|Paris|2|20|14|E|1.00|0", "Paris/2/20/14/3/1/0"},           // leading separator
      {"Paris|2||14|E|1.00|0", "Paris/2/14/0/2/0/1"},               // empty minutes: fields move up
      {"   |1|2|3|E|1.00|0", "/1/2/3/3/1/0"},                       // a blank name
      {"paris|2|20|14|e|1.00|0", "paris/2/20/14/3/1/0"},            // lower-case letter
      {"Quito|78|30|0|west|-5|0", "Quito/78/30/0/2/-5/0"},          // a word counts by its letter
      {"North|10|0|0|N|1|0", "North/10/0/0/0/1/0"},
      {"South|10|0|0|s|1|0", "South/10/0/0/1/1/0"},
      {"  Sao   Paulo  | 46 | 38x | +9 |W| -3.00 xyz |0|extra|fields", "Sao Paulo/46/38/9/2/-3/0"},
      {"Far|2|20|14|E|1.00|0|9|9", "Far/2/20/14/3/1/0"},
  };
  for (const Case &c : cases) {
    Load(std::string("First\n") + c.line + "\n");
    ASSERT_EQ(CityCount(), 1) << c.line;
    EXPECT_EQ(Row(0), c.row) << c.line;
  }
}

TEST_F(CityFile, NorthAndSouthAreWrittenBackAsEast) {
  Load("A\nA|10|0|0|N|1|0\nB|10|0|0|S|1|0\n");
  EXPECT_EQ(Save(), "A\nA                   | 10| 0| 0|E|1.00|0\nB                   | 10| 0| 0|E|1.00|0\n");
}

TEST_F(CityFile, DirectionWithoutAValidLetterKeepsThePreviousLines) {
  Load("X\nFirst|1|0|0|?|0|0\nEast|1|0|0|E|0|0\nQuery|1|0|0|?|0|0\nShort|5|6\n");
  EXPECT_EQ(CityRow(0)->hemisphere, kWest);  // the first line has nothing before it
  EXPECT_EQ(CityRow(2)->hemisphere, kEast);
  EXPECT_EQ(Row(3), "Short/5/6/0/3/0/1");    // fewer fields: zeros, previous direction, DST 1
}

TEST_F(CityFile, FirstLineSelectsTheCurrentCity) {
  struct Case {
    const char *firstLine;
    const char *current;
    const char *location;
  } cases[] = {
      {"  sydney  ", "sydney", "Sydney"},            // normalised, found ignoring case
      {"Atlantis", "Denver", "Denver"},              // unknown: the first city
      {"Sydney is a very long first line", "Denver", "Denver"},  // cut to 20, then unknown
      {"", "Denver", "Denver"},
  };
  for (const Case &c : cases) {
    const Location l = Load(std::string(c.firstLine) +
                            "\nDenver|104|59|0|W|-7.00|1\nSydney|151|12|0|E|10.00|0\n");
    EXPECT_STREQ(CurrentCityName(), c.current) << c.firstLine;
    EXPECT_STREQ(l.name, c.location) << c.firstLine;
    EXPECT_EQ(CityTableChanged(), 0);
  }
}

TEST_F(CityFile, BlankLinesDoNotEndTheFile) {
  Load("A\nA|1|0|0|W|0|1\n\n|||\n   \r\nB|2|0|0|W|0|1\r\n\nC|3|0|0|E|0|0");
  ASSERT_EQ(CityCount(), 3);
  EXPECT_STREQ(CityRow(1)->name, "B");
  EXPECT_STREQ(CityRow(2)->name, "C");  // a last line without its line feed counts too
  EXPECT_EQ(CityRow(1)->dst, 1);        // "1\r" still reads as 1
}

TEST_F(CityFile, LinesEndAtANulByte) {
  const char text[] = "A\nB|1|2|3|E|0|0\n|\0\0x|9|9\nC\0D|4|5|6|W|0|0\n";
  Load(std::string(text, sizeof text - 1));
  ASSERT_EQ(CityCount(), 2);
  EXPECT_EQ(Row(1), "C/0/0/0/3/0/1");  // the rest of the line is not read
}

TEST_F(CityFile, LongLinesAreReadWhole) {
  const std::string longName = "Name " + std::string(200, 'x');
  Load("A\n" + longName + "|12|34|56|E|5.50|0\nB|1|2|3|W|-1|0\n");
  ASSERT_EQ(CityCount(), 2);
  EXPECT_EQ(Row(0), "Name xxxxxxxxxxxxxxx/12/34/56/3/5.5/0");
  EXPECT_EQ(Row(1), "B/1/2/3/2/-1/0");
}

TEST_F(CityFile, AFileWithoutCitiesGivesTheNoNameCity) {
  for (const char *text : {"", "Denver\n", "Denver\n\n\n", "Denver\n|||\n"}) {
    const Location l = Load(text);
    ASSERT_EQ(CityCount(), 1) << text;
    EXPECT_EQ(Row(0), "No name/0/0/0/2/0/0");
    EXPECT_STREQ(CurrentCityName(), "No name");
    EXPECT_STREQ(l.name, "No name");
    EXPECT_EQ(l.hemisphere, kWest);
    EXPECT_EQ(CityTableChanged(), 0);
    EXPECT_TRUE(g_fake.boxes.empty());
  }
}

TEST_F(CityFile, UnreadableNumbersReadAsZero) {
  struct Case {
    const char *field;
    double zone;
  } zones[] = {
      {"inf", 0.0}, {"-inf", 0.0}, {"nan", 0.0}, {"1e300", 0.0}, {"24.5", 0.0},
      {"-24", -24.0}, {"24", 24.0}, {"5.75", 5.75}, {"abc", 0.0}, {" -3.5", -3.5},
  };
  for (const Case &c : zones) EXPECT_EQ(ParseZoneField(c.field), c.zone) << c.field;
  struct IntCase {
    const char *field;
    int value;
  } ints[] = {
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483648", 0},
      {"99999999999999999999", 0}, {"-2147483649", 0}, {" +12x", 12}, {"x12", 0}, {"", 0},
  };
  for (const IntCase &c : ints) EXPECT_EQ(ParseIntegerField(c.field), c.value) << c.field;
}

TEST_F(CityFile, ZonesAreWrittenWithAFullStopWhateverTheLocale) {
  g_fake.intl["sdecimal"] = ",";
  RefreshIntlSettings();
  Load("A\nA|1|0|0|W|-3.5|0\nB|1|0|0|E|10|0\nC|1|0|0|E|0|0\n");
  const std::string saved = Save();
  EXPECT_NE(saved.find("|-3.50|"), std::string::npos);
  EXPECT_NE(saved.find("|10.00|"), std::string::npos);
  EXPECT_NE(saved.find("|0.00|"), std::string::npos);
  EXPECT_EQ(saved.find(','), std::string::npos);
}

TEST_F(CityFile, LoadSaveLoadIsIdentical) {
  const std::string file =
      "Denver\n"
      "Anchorage           |149|54| 0|W|-9.00|1\n"
      "Denver              |104|59| 0|W|-7.00|1\n"
      "Honolulu            |157|51| 0|W|-10.00|0\n"
      "Kolkata             | 88|22| 0|E|5.50|0\n"
      "London              |  0| 7|39|W|0.00|0\n"
      "Paris               |  2|20|14|E|1.00|0\n"
      "Paris               |  2|20|14|E|1.00|0\n"
      "St. John's          | 52|43| 0|W|-3.50|1\n"
      "Sydney              |151|12| 0|E|10.00|0\n";
  Load(file);
  EXPECT_EQ(CityCount(), 9);
  EXPECT_EQ(Save(), file);  // n rows give n + 1 lines, duplicates included
}

TEST_F(CityFile, ClockStaysDefinedForExtremeRows) {
  // Anything a file can put into the table must give a defined reading and a bounded text.
  Load("X\n"
       "Huge|2147483647|2147483647|2147483647|W|24|1\n"
       "Neg|-2147483648|-2147483648|-2147483648|E|-24|1\n"
       "Bad|99999999999|x|y|Q|nan|77\n"
       "Inf|1|1|1|E|inf|-1\n"
       "Big|1|1|1|E|1e300|1\n");
  for (int i = 0; i < CityCount(); ++i) {
    SetCurrentCityName(CityRow(i)->name);
    Location l{};
    LocationFromCurrentCity(&l);
    EXPECT_TRUE(std::isfinite(l.zone));
    EXPECT_LE(std::fabs(l.zone), 24.0);
    for (int kind = 0; kind < 5; ++kind) {
      for (CivilTime t : {CivilTime{2026, 3, 8, 2, 0, 0}, CivilTime{1999, 12, 31, 23, 59, 59},
                          CivilTime{2026, 1, 1, 0, 0, 0}}) {
        g_fake.now = t;
        const double hours = ReadClock(kind, l);
        EXPECT_TRUE(std::isfinite(hours)) << l.name << " kind " << kind;
        char text[kTextSize];
        FormatClockText(hours, text);
        if (kind == 0) MakeTwelveHourText(text);
      }
    }
  }
}

}  // namespace
