// The city table: name normalisation, lookups, storing from the file and from the dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_platform.h"
#include "location/city_parts.h"
#include "location/city_table.h"

namespace {

class CityTable : public testing::Test {
 protected:
  void SetUp() override {
    InstallFakePlatform();
    ResetCityTable();
  }
  void TearDown() override { ResetCityTable(); }

  // StoreCity normalises the caller's buffer, so each call gets a buffer of its own.
  static void Store(int loading, const std::string &name, int deg, int min, int sec, int hem,
                    double zone, int dst) {
    char buffer[81];
    std::snprintf(buffer, sizeof buffer, "%s", name.c_str());
    StoreCity(loading, buffer, deg, min, sec, hem, zone, dst);
  }
  static CityRecord *Find(const std::string &name) {
    char buffer[81];
    std::snprintf(buffer, sizeof buffer, "%s", name.c_str());
    return FindCity(buffer);
  }
};

TEST_F(CityTable, NormalisingWhiteSpace) {
  struct Case {
    const char *in, *trimmed, *normalised;
  } cases[] = {
      {"  New   York ", "New   York", "New York"},
      {"\t\r\n\v\f x \t", "x", "x"},
      {"a \tb", "a \tb", "a\tb"},  // a run keeps its last character
      {"", "", ""},
      {"   ", "", ""},
      {"\xa0Paris\xa0", "\xa0Paris\xa0", "\xa0Paris\xa0"},  // no-break space is not white space
      {"Sao  Paulo", "Sao  Paulo", "Sao Paulo"},
  };
  for (const Case &c : cases) {
    char a[81], b[81];
    std::snprintf(a, sizeof a, "%s", c.in);
    std::snprintf(b, sizeof b, "%s", c.in);
    TrimWhiteSpace(a);
    NormalizeWhiteSpace(b);
    EXPECT_STREQ(a, c.trimmed) << c.in;
    EXPECT_STREQ(b, c.normalised) << c.in;
  }
}

TEST_F(CityTable, FindIgnoresAsciiCaseAndExtraBlanksAndReturnsTheFirst) {
  EXPECT_EQ(Find("Paris"), nullptr);  // empty table
  Store(1, "New York", 74, 0, 23, kWest, -5.0, 1);
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  Store(1, "Paris", 9, 9, 9, kEast, 1.0, 0);
  char typed[81] = "  new   york ";
  const CityRecord *row = FindCity(typed);
  ASSERT_NE(row, nullptr);
  EXPECT_STREQ(row->name, "New York");
  EXPECT_STREQ(typed, "new york");  // the caller's buffer is normalised
  EXPECT_EQ(Find("PARIS")->degrees, 2);
  EXPECT_EQ(Find("Par"), nullptr);
  Store(1, "\xc9vry", 2, 26, 0, kEast, 1.0, 0);
  EXPECT_EQ(Find("\xe9vry"), nullptr);  // only A-Z fold
}

TEST_F(CityTable, LoadingAppendsWithoutTouchingNameOrFlag) {
  SetCurrentCityName("Denver");
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  EXPECT_EQ(CityCount(), 2);
  EXPECT_STREQ(CurrentCityName(), "Denver");
  EXPECT_EQ(CityTableChanged(), 0);
}

TEST_F(CityTable, StoringFromTheDialogSetsTheFlagOnlyOnChange) {
  struct Step {
    const char *name;
    int deg, min, sec, hem;
    double zone;
    int dst;
    int expectedFlag;
    const char *expectedCurrent;
    int expectedRows;
  } steps[] = {
      // Confirming the current city as it is changes nothing.
      {"Paris", 2, 20, 14, kEast, 1.0, 0, 0, "Paris", 2},
      // Another city becomes current, though its values are unchanged.
      {"Denver", 104, 59, 0, kWest, -7.0, 1, 1, "Denver", 2},
  };
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  Store(1, "Denver", 104, 59, 0, kWest, -7.0, 1);
  SetCurrentCityName("Paris");
  for (const Step &s : steps) {
    SetCityTableChanged(0);
    Store(0, s.name, s.deg, s.min, s.sec, s.hem, s.zone, s.dst);
    EXPECT_EQ(CityTableChanged(), s.expectedFlag) << s.name;
    EXPECT_STREQ(CurrentCityName(), s.expectedCurrent);
    EXPECT_EQ(CityCount(), s.expectedRows);
  }
  // Only the DST flag of the current city changes.
  SetCityTableChanged(0);
  Store(0, "Denver", 104, 59, 0, kWest, -7.0, 0);
  EXPECT_EQ(CityTableChanged(), 1);
  EXPECT_EQ(Find("Denver")->dst, 0);
  // The file keeps two decimals of a zone: one that reads back from a field in single
  // precision (-3.30 is not a float) is no change, while another hundredth is.
  Store(1, "Tehran", 51, 25, 0, kEast, -3.30, 0);
  SetCurrentCityName("Tehran");
  SetCityTableChanged(0);
  Store(0, "Tehran", 51, 25, 0, kEast, static_cast<double>(-3.30f), 0);
  EXPECT_EQ(CityTableChanged(), 0);
  Store(0, "Tehran", 51, 25, 0, kEast, -3.31, 0);
  EXPECT_EQ(CityTableChanged(), 1);
  // A new city always changes the table.
  SetCityTableChanged(0);
  Store(0, "Quito", 78, 30, 0, kWest, -5.0, 0);
  EXPECT_EQ(CityTableChanged(), 1);
  EXPECT_EQ(CityCount(), 4);
  EXPECT_STREQ(CurrentCityName(), "Quito");
}

TEST_F(CityTable, ChangingOnlyTheLetterCaseOfTheCurrentCity) {
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  SetCurrentCityName("Paris");
  Store(0, "PARIS", 2, 20, 14, kEast, 1.0, 0);
  EXPECT_STREQ(CityRow(0)->name, "PARIS");
  EXPECT_STREQ(CurrentCityName(), "Paris");  // keeps its letter case
  EXPECT_EQ(CityTableChanged(), 1);          // the row's name changed
  EXPECT_EQ(CityCount(), 1);
}

TEST_F(CityTable, DuplicatesUpdateOnlyTheFirst) {
  Store(1, "Paris", 2, 20, 14, kEast, 1.0, 0);
  Store(1, "Paris", 9, 9, 9, kEast, 1.0, 0);
  Store(0, "paris", 3, 0, 0, kEast, 1.0, 0);
  EXPECT_EQ(CityRow(0)->degrees, 3);
  EXPECT_EQ(CityRow(1)->degrees, 9);
}

TEST_F(CityTable, LongNamesAreCutTo20AndFoundAgain) {
  const std::string longName = "Llanfairpwllgwyngyll gogerych";  // 29 characters
  Store(0, longName, 4, 12, 0, kWest, 0.0, 0);
  EXPECT_STREQ(CityRow(0)->name, "Llanfairpwllgwyngyll");
  Store(0, longName, 4, 13, 0, kWest, 0.0, 0);
  EXPECT_EQ(CityCount(), 1);
  EXPECT_EQ(CityRow(0)->minutes, 13);
}

TEST_F(CityTable, LocationFromTheCurrentCity) {
  Store(1, "New York", 74, 0, 23, kWest, -5.0, 1);
  Store(1, "Edge", 180, 0, 0, kEast, 12.0, 0);
  Location l{};

  SetCurrentCityName("  edge ");  // case and blanks do not matter
  LocationFromCurrentCity(&l);
  EXPECT_STREQ(l.name, "Edge");
  EXPECT_EQ(l.longitude, 180.0);
  EXPECT_EQ(l.hemisphere, kEast);
  EXPECT_EQ(l.zone, 12.0);

  SetCurrentCityName("Atlantis");  // no such row: the first row, whose name becomes current
  LocationFromCurrentCity(&l);
  EXPECT_STREQ(l.name, "New York");
  EXPECT_STREQ(CurrentCityName(), "New York");
  EXPECT_EQ(l.longitude, 74.006388888888893);  // 74 degrees 0' 23"
  EXPECT_EQ(l.dst, 1);
  EXPECT_EQ(CityTableChanged(), 0);
}

TEST_F(CityTable, GrowthFailureIsFatalOutOfMemory) {
  g_platform.resizeTableBlock = [](std::size_t) -> void * { return nullptr; };
  char name[81] = "Paris";
  EXPECT_THROW(StoreCity(1, name, 2, 20, 14, kEast, 1.0, 0), ProcessEnded);
  ASSERT_EQ(g_fake.exits.size(), 1u);
  EXPECT_EQ(g_fake.exits[0], 1);
  ASSERT_EQ(g_fake.boxes.size(), 2u);
  EXPECT_EQ(g_fake.boxes[0].text, "Out of memory");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Fatal Error");
  EXPECT_EQ(g_fake.boxes[1].text.rfind("city_table.cpp/", 0), 0u);
  EXPECT_EQ(CityCount(), 0);
}

}  // namespace
