// Universal Time taken from the computer's UTC, the check of a city's zone against it, and
// the question that check leads to.
#include <gtest/gtest.h>

#include <cstdio>

#include "astro/clock_reading.h"
#include "astro/sidereal.h"
#include "astro/universal_time.h"
#include "display/intl.h"
#include "display/intl_probe.h"
#include "display/ut_question.h"
#include "fake_platform.h"

namespace {

Location City(const char *name, double zone, int dst, int hemisphere, double longitude) {
  Location l{};
  std::snprintf(l.name, sizeof l.name, "%s", name);
  l.hemisphere = hemisphere;
  l.longitude = longitude;
  l.zone = zone;
  l.dst = dst;
  return l;
}

class UniversalTime : public testing::Test {
 protected:
  void SetUp() override { InstallFakePlatform(); }
  double Read(int kind, const Location &l, bool fromComputer) {
    SetUniversalTimeFromComputer(fromComputer);
    const double hours = ReadClock(kind, l);
    SetUniversalTimeFromComputer(false);
    return hours;
  }
};

// A computer kept at UTC-7 reads 20:00 on 1 July: its UTC is 03:00 on 2 July. Taken from
// it, UT, GST and LST are those of that instant, whatever zone and code the city has; the
// city's longitude still gives LST, and LMT is the local clock as before.
TEST_F(UniversalTime, TakenFromTheComputerWhateverTheCitysZoneAndCode) {
  SetFakeClock(1999, 7, 1, 20, 0, 0);
  g_fake.computerZoneSeconds = -7 * 3600;
  g_fake.daylightHours = 1.0;
  const Location cities[] = {City("London", 0.0, kComputerDaylightSaving, kWest, 0.1275),
                             City("Washington", -5.0, kUsDaylightSaving, kWest, 77.0),
                             City("Kolkata", 5.5, kNoDaylightSaving, kEast, 88.3667),
                             City("Odd code", 3.0, 9, kEast, 40.0)};
  const double gst = GreenwichSiderealTime(3.0, 2, 7, 1999);  // the UTC date
  for (const Location &city : cities) {
    SCOPED_TRACE(city.name);
    Location atComputer = city;  // the city's longitude in the computer's own zone
    atComputer.zone = -7.0;
    atComputer.dst = kNoDaylightSaving;
    EXPECT_EQ(Read(kUt, city, true), Read(kUt, atComputer, false));
    EXPECT_NEAR(Read(kUt, city, true), 3.0, 1e-7);
    EXPECT_EQ(Read(kGst, city, true), Read(kGst, atComputer, false));
    EXPECT_NEAR(Read(kGst, city, true), gst, 1e-7);
    EXPECT_EQ(Read(kLst, city, true), Read(kLst, atComputer, false));
    EXPECT_NEAR(Read(kLst, city, true), LocalSiderealTime(gst, city), 1e-7);
    EXPECT_EQ(Read(kLmt24, city, true), Read(kLmt24, city, false));
    EXPECT_NEAR(Read(kLmt12, city, true), 20.0, 1e-7);
  }
}

// Where the computer keeps the city's time, both ways give the same hours value in every
// kind, to the last bit; also on each side of a change, where the US rule counts the
// repeated hour of October (01:00 to 02:00) as daylight time, as the computer does here.
TEST_F(UniversalTime, MatchingZonesReadTheSameBothWays) {
  const struct {
    const char *what;
    CivilTime local;
    Location city;
    double computerAhead;
    int computerZone;  // hours
    int computerZoneMinutes;
  } rows[] = {
      {"before the April change", {1999, 4, 4, 1, 59, 59}, City("Washington", -5, 1, kWest, 77), 0, -5, 0},
      {"after the April change", {1999, 4, 4, 3, 0, 0}, City("Washington", -5, 1, kWest, 77), 0, -4, 0},
      {"the repeated hour", {1999, 10, 31, 1, 30, 0}, City("Washington", -5, 1, kWest, 77), 0, -4, 0},
      {"after the October change", {1999, 10, 31, 2, 0, 1}, City("Washington", -5, 1, kWest, 77), 0, -5, 0},
      {"across the new year", {1999, 12, 31, 20, 0, 0}, City("Washington", -5, 0, kWest, 77), 0, -5, 0},
      {"summer on the computer's rules", {2026, 7, 1, 12, 0, 0}, City("London", 0, 2, kWest, 0.1275), 1, 1, 0},
      {"half an hour", {1999, 7, 1, 3, 0, 0}, City("Kolkata", 5.5, 0, kEast, 88.3667), 0, 5, 30},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.what);
    g_fake.now = r.local;
    g_fake.daylightHours = r.computerAhead;
    g_fake.computerZoneSeconds = r.computerZone * 3600 + r.computerZoneMinutes * 60;
    for (int kind = 0; kind < kTimeKindCount; ++kind) {
      EXPECT_EQ(Read(kind, r.city, true), Read(kind, r.city, false)) << "kind " << kind;
    }
  }
}

// The city's UT (12:00 local at zone -5 is 17:00) against the computer's UTC: a minute
// apart or more either way is a disagreement, anything less is not.
TEST_F(UniversalTime, DisagreementFromAMinuteApart) {
  SetFakeClock(2026, 1, 15, 12, 0, 0);
  const Location city = City("Washington", -5.0, kNoDaylightSaving, kWest, 77.0);
  const struct {
    int computerBehindSeconds;  // how far the computer's UTC is behind the city's UT
    bool disagrees;
  } rows[] = {{0, false}, {59, false}, {-59, false}, {60, true}, {-60, true}, {7 * 3600, true}};
  for (const auto &r : rows) {
    SCOPED_TRACE(r.computerBehindSeconds);
    g_fake.computerZoneSeconds = -5 * 3600 + r.computerBehindSeconds;
    double cityUt = 0.0;
    double computerUt = 0.0;
    EXPECT_EQ(CityDisagreesWithComputer(city, &cityUt, &computerUt), r.disagrees);
    EXPECT_NEAR(cityUt, 17.0, 1e-7);
    EXPECT_NEAR(computerUt, 17.0 - r.computerBehindSeconds / 3600.0, 1e-7);
  }
}

// The question names the city and both readings; Yes is the caller's to act on, a No is
// not asked again for that city (in any letter case) in this run; nothing is asked while
// the two agree or while UT already comes from the computer. The times are written as the
// clock writes them (here with the hour's leading zero, then with the user's separator).
TEST_F(UniversalTime, TheQuestionIsAskedOncePerCity) {
  g_fake.intl["itlzero"] = "1";
  SetFakeClock(2026, 12, 7, 20, 0, 0);
  g_fake.computerZoneSeconds = -7 * 3600;  // UTC 03:00
  int owner = 0;
  g_fake.answer = kAnswerNo;
  EXPECT_FALSE(AskToTakeUniversalTimeFromComputer(&owner, City("London", 0, 0, kWest, 0)));
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text,
            "London's time zone gives UT 20:00, but this computer's clock says UT is 03:00. "
            "Take Universal Time from Windows?");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2");
  EXPECT_EQ(g_fake.boxes[0].style, kBoxYesNo | kBoxIconQuestion);
  EXPECT_EQ(g_fake.boxes[0].owner, &owner);
  EXPECT_FALSE(AskToTakeUniversalTimeFromComputer(&owner, City("LONDON", 0, 0, kWest, 0)));
  EXPECT_FALSE(AskToTakeUniversalTimeFromComputer(&owner, City("Denver", -7, 0, kWest, 105)));
  EXPECT_EQ(g_fake.boxes.size(), 1u);

  g_fake.answer = kAnswerYes;
  g_fake.intl = {{"itlzero", "0"}, {"stime", "."}};
  MarkIntlSettingsStale();
  EXPECT_TRUE(AskToTakeUniversalTimeFromComputer(&owner, City("Paris", 1, 0, kEast, 2)));
  ASSERT_EQ(g_fake.boxes.size(), 2u);
  EXPECT_EQ(g_fake.boxes[1].text.substr(0, 37), "Paris's time zone gives UT 19.00, but");
  EXPECT_NE(g_fake.boxes[1].text.find(" UT is 3.00. "), std::string::npos);
  SetUniversalTimeFromComputer(true);
  EXPECT_FALSE(AskToTakeUniversalTimeFromComputer(&owner, City("Kolkata", 5.5, 0, kEast, 88)));
  EXPECT_EQ(g_fake.boxes.size(), 2u);
}

}  // namespace
