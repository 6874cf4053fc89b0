// The Set Location dialog's checks on its field texts: which field and message come first.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/location_check.h"
#include "display/intl.h"
#include "fake_platform.h"
#include "resources/resource_ids.h"

namespace {

class LocationChecks : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
};

struct CheckRow {
  const char *name, *degrees, *minutes, *seconds, *zone;
  std::int32_t field, message;  // both 0 when the entry passes
};

const std::int32_t kLong = IDS_LONGITUDE_RANGE, kBad = IDS_INVALID_NUMBER;

TEST_F(LocationChecks, InOrderWithTheirMessages) {
  const CheckRow rows[] = {
      {"Test", "180", "0", "0", "0", 0, 0},
      {"Test", "180", "0", "1", "0", IDC_DEGREES, kLong},
      {"Test", "180", "1", "0", "0", IDC_DEGREES, kLong},
      {"Test", "181", "0", "0", "0", IDC_DEGREES, kLong},
      {"Test", "-1", "0", "0", "0", IDC_DEGREES, kLong},
      {"Test", "10", "60", "0", "0", IDC_MINUTES, IDS_MINUTES_RANGE},
      {"Test", "10", "", "0", "0", IDC_MINUTES, kBad},
      {"Test", "10", "0", "60", "0", IDC_SECONDS, IDS_SECONDS_RANGE},
      {"Test", "10", "0", "-1", "0", IDC_SECONDS, IDS_SECONDS_RANGE},
      {"Test", "10", "0", "0", "12", 0, 0},
      {"Test", "10", "0", "0", "-12", 0, 0},
      {"Test", "10", "0", "0", "14", 0, 0},
      {"Test", "10", "0", "0", "12.75", 0, 0},
      {"Test", "10", "0", "0", "14.25", IDC_ZONE, IDS_ZONE_RANGE},
      {"Test", "10", "0", "0", "-12.5", IDC_ZONE, IDS_ZONE_RANGE},
      {"Test", "10", "0", "0", "abc", IDC_ZONE, kBad},
      {"Test", "10", "0", "0", "", IDC_ZONE, kBad},
      {"Test", "10", "0", "0", "nan", IDC_ZONE, kBad},
      {"Test", "10", "0", "0", "inf", IDC_ZONE, kBad},
      {"Test", "10", "0", "0", "1e40", IDC_ZONE, kBad},
      // Not whole numbers, and a hex prefix where a decimal number belongs.
      {"Test", "104.98", "0", "0", "0", IDC_DEGREES, kBad},
      {"Test", "10", "1e3", "0", "0", IDC_MINUTES, kBad},
      {"Test", "10", "0", "5abc", "0", IDC_SECONDS, kBad},
      {"Test", "10", "0", "0", "0x", IDC_ZONE, kBad},
      {"", "10", "0", "0", "0", IDC_LOCATION_COMBO, IDS_MUST_ENTER_NAME},
      {"   ", "10", "0", "0", "0", IDC_LOCATION_COMBO, IDS_MUST_ENTER_NAME},
      {"A|B", "10", "0", "0", "0", IDC_LOCATION_COMBO, IDS_NAME_HAS_SEPARATOR},
      // Several faults: only the first in the order name, degrees, minutes, seconds, zone,
      // the 180 rule.
      {"", "200", "99", "0", "abc", IDC_LOCATION_COMBO, IDS_MUST_ENTER_NAME},
      {"A|B", "", "0", "0", "0", IDC_LOCATION_COMBO, IDS_NAME_HAS_SEPARATOR},
      {"Test", "200", "99", "0", "abc", IDC_DEGREES, kLong},
      {"Test", "10", "99", "x", "abc", IDC_MINUTES, IDS_MINUTES_RANGE},
      {"Test", "10", "0", "99", "99", IDC_SECONDS, IDS_SECONDS_RANGE},
      {"Test", "180", "5", "0", "abc", IDC_ZONE, kBad},
      {"Test", "180", "5", "0", "15", IDC_ZONE, IDS_ZONE_RANGE},
  };
  for (const CheckRow &r : rows) {
    SCOPED_TRACE(testing::Message() << "'" << r.name << "' " << r.degrees << " " << r.minutes
                                    << " " << r.seconds << " " << r.zone);
    LocationCheck check;
    CheckLocationTexts({r.name, r.degrees, r.minutes, r.seconds, r.zone}, &check);
    EXPECT_EQ(check.controlId, r.field);
    EXPECT_EQ(check.messageId, r.message);
    // The name is read before any number, and kept when a number fails.
    EXPECT_EQ(check.nameRead, r.field != IDC_LOCATION_COMBO);
  }
}

TEST_F(LocationChecks, ValuesReadOnceEveryCheckPasses) {
  g_fake.intl["sdecimal"] = ",";
  RefreshIntlSettings();
  LocationCheck check;
  CheckLocationTexts({"  New   Place of twenty-five ", " 77 ", "+05", "9", "-5,5 hours"}, &check);
  EXPECT_EQ(check.controlId, 0);
  EXPECT_STREQ(check.name, "New Place of twenty-");  // normalised, cut to 20
  EXPECT_EQ(check.degrees, 77);
  EXPECT_EQ(check.minutes, 5);
  EXPECT_EQ(check.seconds, 9);
  EXPECT_EQ(check.zone, -5.5);
}

// Code page 932: a | that is the second byte of a character is part of it, not a separator;
// the cut keeps whole characters.
TEST_F(LocationChecks, NamesAreCheckedAndCutByCharacters) {
  for (int b = 0x81; b <= 0xFC; ++b) g_platform.ansiCharBytes[b] = b <= 0x9F || b >= 0xE0 ? 2 : 1;
  const std::string po = "\x83\x7C";  // katakana po
  const std::string name = "A" + po + po + po + po + po + po + po + po + po + po;  // 21 bytes
  LocationCheck check;
  CheckLocationTexts({name.c_str(), "1", "0", "0", "0"}, &check);
  EXPECT_EQ(check.controlId, 0);
  EXPECT_EQ(std::string(check.name), name.substr(0, 19));
  CheckLocationTexts({(po + "|").c_str(), "1", "0", "0", "0"}, &check);
  EXPECT_EQ(check.messageId, IDS_NAME_HAS_SEPARATOR);
}

// A failing row stops the reading: the rows after it keep their values.
TEST_F(LocationChecks, IntegerRowsStopAtTheFirstFailure) {
  IntegerFieldCheck rows[3] = {{1, 0, 59, 11, -7}, {2, 0, 59, 12, -7}, {3, 0, 59, 13, -7}};
  const char *const texts[3] = {"5", "60", "7"};
  int failed = -1;
  std::int32_t message = 0;
  EXPECT_FALSE(CheckIntegerTexts(3, rows, texts, &failed, &message));
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(message, 12);
  EXPECT_EQ(rows[0].value, 5);
  EXPECT_EQ(rows[2].value, -7);
}

}  // namespace
