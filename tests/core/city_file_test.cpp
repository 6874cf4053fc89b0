// The city database text: reading hand-made and program-made files, writing them back, and
// the clock staying defined for whatever a file holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "astro/clock_reading.h"
#include "display/clock_text.h"
#include "display/intl.h"
#include "fake_platform.h"
#include "location/city_file.h"
#include "location/city_merge.h"
#include "location/city_parts.h"
#include "location/city_table.h"
#include "test_files.h"

namespace {

class CityFile : public testing::Test {
 protected:
  void SetUp() override {
    InstallFakePlatform();
    ResetCityTable();
  }
  void TearDown() override { ResetCityTable(); }

  Location Load(const std::string &text) {
    ResetCityTable();
    std::FILE *f = StreamOfText(text);
    Location l{};
    whole_ = ReadCityFile(f, &l, &stamp_);
    std::fclose(f);
    return l;
  }
  // "current;name,name,..." of the table just loaded.
  static std::string Names() {
    std::string names = std::string(CurrentCityName()) + ";";
    for (int i = 0; i < CityCount(); ++i) names += std::string(i > 0 ? "," : "") + CityRow(i)->name;
    return names;
  }
  bool whole_ = false;
  FileStamp stamp_ = {false, 0, 0};
  static std::string Save() {
    std::FILE *f = std::tmpfile();
    EXPECT_TRUE(WriteCityFile(f));
    std::string text = StreamText(f);
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
      {"Oslo|10|45|0|  E |1.00|0", "Oslo/10/45/0/3/1/0"},           // blanks before the letter
  };
  for (const Case &c : cases) {
    Load(std::string("First\n") + c.line + "\n");
    ASSERT_EQ(CityCount(), 1) << c.line;
    EXPECT_EQ(Row(0), c.row) << c.line;
  }
}

// Code page 932: a character's second byte may be | (0x7C) or an ASCII letter.
TEST_F(CityFile, DoubleByteNamesAreSplitCutAndComparedByCharacters) {
  for (int b = 0x81; b <= 0xFC; ++b) g_platform.ansiCharBytes[b] = b <= 0x9F || b >= 0xE0 ? 2 : 1;
  const std::string po = "\x83\x7C";  // katakana po
  const std::string a = "\x83\x41";   // katakana a; 0x83 0x61 is katakana di
  const std::string ten = a + a + a + a + a + a + a + a + a + a;
  struct Case {
    std::string file, names, row0;  // names as Names() gives them
  } cases[] = {
      {po + "\n" + po + "|147|10|0|E|10.00|0\n", po + ";" + po, po + "/147/10/0/3/10/0"},
      // 21 bytes cut to 20 would leave half a character: 19 are kept.
      {"A" + ten + "\nA" + ten + "|1|2|3|W|-1|1\n", "A" + ten.substr(0, 18) + ";A" + ten.substr(0, 18),
       "A" + ten.substr(0, 18) + "/1/2/3/2/-1/1"},
      // A lead byte that the line end cuts short stays a byte of its own.
      {"\x83\nB\x83\n", "B\x83;B\x83", "B\x83/0/0/0/2/0/1"},
  };
  for (const Case &c : cases) {
    Load(c.file);
    EXPECT_EQ(Names(), c.names) << c.file;
    EXPECT_EQ(Row(0), c.row0) << c.file;
  }
  Load("X\n" + a + "|1|0|0|E|0|0\n");
  char di[kTextSize] = "\x83\x61";
  EXPECT_EQ(FindCity(di), nullptr);
  char typed[kTextSize] = " \x83\x41 ";
  EXPECT_NE(FindCity(typed), nullptr);
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
  EXPECT_FALSE(whole_);                // and the load says so
}

const char16_t kZurichUtf16[] =
    u"Z\u00FCrich\r\nZ\u00FCrich|8|32|0|E|1|0\r\nOslo|10|45|0|E|1|0\r\nLima|77|2|0|W|-5|0\r\n";

TEST_F(CityFile, ReadsEveryLineEndAndEncodingWhole) {
  // The fake platform's ANSI code page is Latin-1: u with diaeresis is the byte 0xFC.
  const std::string ansi = "Z\xFCrich;Z\xFCrich,Oslo,Lima";
  const char *lf = "Z\xFCrich\nZ\xFCrich|8|32|0|E|1|0\nOslo|10|45|0|E|1|0\nLima|77|2|0|W|-5|0\n";
  const char *utf8 = "Z\xC3\xBCrich\r\nZ\xC3\xBCrich|8|32|0|E|1|0\r\nOslo|10|45|0|E|1|0\r\nLima|77|2|0|W|-5|0\r\n";
  const std::u16string utf16 = kZurichUtf16;
  struct Case {
    std::string bytes;
    std::string names;
    bool whole;
  } cases[] = {
      {lf, ansi, true},
      {"Z\xFCrich\r\nZ\xFCrich|8|32|0|E|1|0\r\nOslo|10|45|0|E|1|0\r\nLima|77|2|0|W|-5|0", ansi, true},
      {"Z\xFCrich\rZ\xFCrich|8|32|0|E|1|0\rOslo|10|45|0|E|1|0\rLima|77|2|0|W|-5|0\r", ansi, true},
      {"Z\xFCrich\nZ\xFCrich|8|32|0|E|1|0\r\rOslo|10|45|0|E|1|0\n\rLima|77|2|0|W|-5|0", ansi, true},
      {std::string("\xEF\xBB\xBF") + utf8, ansi, true},        // UTF-8 with its mark
      {utf8, ansi, true},                                        // UTF-8 without one
      {"\xEF\xBB\xBFOslo\nLima|77|2|0|W|-5|0\nOslo|10|45|0|E|1|0\n", "Oslo;Lima,Oslo", true},
      {Utf16Bytes(utf16, false), ansi, true},
      {Utf16Bytes(utf16, true), ansi, true},
      // Ctrl-Z is a byte like any other; one at the very end is an old end-of-file mark.
      {"A\nA|1|0|0|E|0|0\nB\x1A|2|0|0|E|0|0\nC|3|0|0|E|0|0\n\x1A", "A;A,B\x1A,C", true},
      // Not read whole: an odd byte after UTF-16, a character Latin-1 lacks, a NUL byte, a
      // broken sequence after the UTF-8 mark, UTF-16 without its mark.
      {Utf16Bytes(utf16, false) + "x", ansi, false},
      {Utf16Bytes(u"T\u014Dky\u014D\nT\u014Dky\u014D|139|41|0|E|9|0\n", false), "T?ky?;T?ky?", false},
      {std::string("A\nA|1|0|0|E|0|0\nB|2\0|0|0|E|0|0\n", 31), "A;A,B", false},
      {"\xEF\xBB\xBF" "A\nA|1|0|0|E|0|0\nB\xFF|2|0|0|E|0|0\n", "A;A,B?", false},
      {Utf16Bytes(u"A\nA|1|0|0|E|0|0\n", false).substr(2), "No name;No name", false},
  };
  for (const Case &c : cases) {
    Load(c.bytes);
    EXPECT_EQ(Names(), c.names) << testing::PrintToString(c.bytes);
    EXPECT_EQ(whole_, c.whole) << testing::PrintToString(c.bytes);
    EXPECT_EQ(CityTableChanged(), 0);
  }
}

// A file loaded and saved comes back as the program writes it, and saving what it wrote
// changes nothing: n rows give n + 1 lines, duplicates included.
TEST_F(CityFile, LoadedAndSavedComesBackAsWritten) {
  std::string shipped, shippedLf;
  ASSERT_TRUE(ReadShippedFile("ZORKEL.DAT", &shipped));
  for (char c : shipped) {
    if (c != '\r') shippedLf.push_back(c);  // written in binary here: LF for its CR LF
  }
  const struct {
    const char *what;
    std::string file, saved;
  } cases[] = {
      // Daylight-saving codes go back as they came, 2 and codes this program does not know
      // included (a newer program's choice survives a save here; it reads as the US rules).
      {"hand-written numbers in the exact line format",
       "Denver\nDenver|104|59|0|W|-7.00|1\nSt. John's|52|43|0|W|-3.5|1\n"
       "Sydney|151|12|0|E|10|0\nLondon|0|7|39|W|0|2\nNewer|1|0|0|E|0|7\n",
       "Denver\n"
       "Denver              |104|59| 0|W|-7.00|1\n"
       "St. John's          | 52|43| 0|W|-3.50|1\n"
       "Sydney              |151|12| 0|E|10.00|0\n"
       "London              |  0| 7|39|W|0.00|2\n"
       "Newer               |  1| 0| 0|E|0.00|7\n"},
      {"a file the program wrote, unchanged",
       "Denver\n"
       "Anchorage           |149|54| 0|W|-9.00|1\n"
       "Denver              |104|59| 0|W|-7.00|1\n"
       "Honolulu            |157|51| 0|W|-10.00|0\n"
       "Kolkata             | 88|22| 0|E|5.50|0\n"
       "London              |  0| 7|39|W|0.00|0\n"
       "Paris               |  2|20|14|E|1.00|0\n"
       "Paris               |  2|20|14|E|1.00|0\n"
       "St. John's          | 52|43| 0|W|-3.50|1\n"
       "Sydney              |151|12| 0|E|10.00|0\n",
       ""},
      {"North and South written back as East", "A\nA|10|0|0|N|1|0\nB|10|0|0|S|1|0\n",
       "A\nA                   | 10| 0| 0|E|1.00|0\nB                   | 10| 0| 0|E|1.00|0\n"},
      {"UTF-16 written back in ANSI", Utf16Bytes(kZurichUtf16, false),
       "Z\xFCrich\nZ\xFCrich              |  8|32| 0|E|1.00|0\n"
       "Oslo                | 10|45| 0|E|1.00|0\nLima                | 77| 2| 0|W|-5.00|0\n"},
      {"the shipped list", shipped, shippedLf},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const std::string &saved = c.saved.empty() ? c.file : c.saved;
    Load(c.file);
    EXPECT_TRUE(whole_);
    EXPECT_EQ(CityCount(), std::count(saved.begin(), saved.end(), '\n') - 1);
    EXPECT_EQ(Save(), saved);
    Load(saved);
    EXPECT_EQ(Save(), saved);
  }
}

TEST_F(CityFile, AReadErrorIsNotAWholeFile) {
  const char *path = "city_file_read_error.tmp";
  std::FILE *f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("A\nA|1|0|0|E|0|0\n", f);
  std::fflush(f);
  Location l{};
  EXPECT_FALSE(ReadCityFile(f, &l));  // a stream opened for writing cannot be read
  std::fclose(f);
  std::remove(path);
  EXPECT_EQ(CityCount(), 1);  // the clock still gets a city
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

TEST_F(CityFile, ClockStaysDefinedForExtremeRows) {
  // Anything a file can put into the table must give a defined reading and a bounded text.
  Load("X\n"
       "Huge|2147483647|2147483647|2147483647|W|24|1\n"
       "Neg|-2147483648|-2147483648|-2147483648|E|-24|1\n"
       "Bad|99999999999|x|y|Q|nan|77\n"
       "Inf|1|1|1|E|inf|-1\n"
       "Big|1|1|1|E|1e300|1\n"
       "Far|400|99|0|E|0|0\n");
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
        EXPECT_TRUE(hours >= 0.0 && hours <= 24.0) << l.name << " kind " << kind << ": " << hours;
        char text[kTextSize];
        FormatClockText(hours, text);
        if (kind == 0) MakeTwelveHourText(text);
        EXPECT_EQ(std::strlen(text), kind == 0 ? 11u : 8u) << l.name << ": " << text;
      }
    }
  }
}

// Another clock saved, or someone edited the file, after this clock loaded it: a save first
// takes in the cities this clock lacks, keeping its own row for a name both have.
TEST_F(CityFile, AChangedFileGivesTheCitiesThisClockLacks) {
  const std::string mine = "Denver\nDenver|104|59|0|W|-7.00|1\nParis|2|20|14|E|1.00|0\n";
  const std::string alpha = mine + "Alpha|1|0|0|E|1.00|0\n";
  const struct {
    const char *what;
    std::string file;
    std::string known;  // what this clock last loaded or saved, when not `mine`
    bool memory;
    int joined;
    std::string names;
  } cases[] = {
      {"a city another clock added", "Paris\nParis|2|20|14|E|1.00|0\nAlpha|1|0|0|E|1.00|0\n", "",
       true, 1, "Denver;Denver,Paris,Alpha"},
      {"a name both have, in another case and with other values",
       "x\nPARIS|9|0|0|W|-9.00|1\nBeta|1|0|0|W|-1.00|0\nBeta|1|0|0|W|-1.00|0\n", "", true, 2,
       "Denver;Denver,Paris,Beta,Beta"},
      {"the file this clock saved last", alpha, alpha, true, 0, "Denver;Denver,Paris"},
      {"as long as the file saved last, one name changed",
       mine + "Gamma|1|0|0|E|1.00|0\n", alpha, true, 1, "Denver;Denver,Paris,Gamma"},
      {"no memory for the cities: none joins and the clock goes on", alpha, "", false, -1,
       "Denver;Denver,Paris"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Load(mine);
    FileStamp known = stamp_;
    if (!c.known.empty()) {
      Load(c.known);
      known = stamp_;
      Load(mine);
    }
    const auto resize = g_platform.resizeTableBlock;
    if (!c.memory) g_platform.resizeTableBlock = [](std::size_t) -> void * { return nullptr; };
    std::FILE *f = StreamOfText(c.file);
    EXPECT_EQ(JoinCitiesOfChangedFile(f, &known), c.joined);
    std::fclose(f);
    g_platform.resizeTableBlock = resize;
    EXPECT_EQ(Names(), c.names);
    EXPECT_EQ(Row(1), "Paris/2/20/14/3/1/0");
    EXPECT_EQ(CityTableChanged(), 0);
  }
}

}  // namespace
