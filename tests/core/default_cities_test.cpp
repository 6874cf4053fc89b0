// The city database that ships: it loads whole, with London as the current city. That it
// saves back byte for byte is a row of the round trips in city_file_test.cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fake_platform.h"
#include "location/city_file.h"
#include "location/city_table.h"
#include "test_files.h"

namespace {

TEST(ShippedCities, LoadWholeWithLondonCurrent) {
  InstallFakePlatform();
  ResetCityTable();
  std::string bytes;
  ASSERT_TRUE(ReadShippedFile("ZORKEL.DAT", &bytes));
  std::FILE *file = StreamOfText(bytes);
  ASSERT_NE(file, nullptr);
  Location london{};
  EXPECT_TRUE(ReadCityFile(file, &london));
  std::fclose(file);
  EXPECT_GE(CityCount(), 300);
  EXPECT_STREQ(CurrentCityName(), "London");
  EXPECT_STREQ(london.name, "London");
  EXPECT_EQ(london.hemisphere, kWest);
  EXPECT_EQ(london.zone, 0.0);
  EXPECT_EQ(london.dst, kComputerDaylightSaving);  // British summer time is not the US one
  ResetCityTable();
}

}  // namespace
