// The city database that ships: it loads whole, and what the program saves from it is the
// very same file, byte for byte (line ends aside, which the C library writes per platform).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fake_platform.h"
#include "location/city_file.h"
#include "location/city_table.h"
#include "test_files.h"

namespace {

#ifdef _WIN32
const char kShipped[] = "Z:" ORVANE_SOURCE_DIR "/resources/ZORKEL.DAT";  // Wine's view of /
#else
const char kShipped[] = ORVANE_SOURCE_DIR "/resources/ZORKEL.DAT";
#endif

TEST(ShippedCities, LoadSaveAndReloadIdentically) {
  InstallFakePlatform();
  ResetCityTable();
  std::FILE *file = std::fopen(kShipped, "rb");
  ASSERT_NE(file, nullptr) << kShipped;
  std::string original = StreamText(file);
  std::rewind(file);
  Location london{};
  ReadCityFile(file, &london);
  std::fclose(file);
  EXPECT_GE(CityCount(), 300);
  EXPECT_STREQ(CurrentCityName(), "London");
  EXPECT_STREQ(london.name, "London");
  EXPECT_EQ(london.hemisphere, kWest);
  EXPECT_EQ(london.zone, 0.0);
  EXPECT_EQ(london.dst, kComputerDaylightSaving);  // British summer time is not the US one

  std::FILE *saved = std::tmpfile();
  ASSERT_TRUE(WriteCityFile(saved));
  std::string written = StreamText(saved);
  std::fclose(saved);
  std::string lf;  // the shipped file has CR LF, written in binary here
  for (char c : original) {
    if (c != '\r') lf.push_back(c);
  }
  std::string writtenLf;
  for (char c : written) {
    if (c != '\r') writtenLf.push_back(c);
  }
  EXPECT_EQ(writtenLf, lf);

  const int rows = CityCount();
  ResetCityTable();
  std::FILE *again = std::tmpfile();
  std::fwrite(written.data(), 1, written.size(), again);
  std::rewind(again);
  Location reloaded{};
  ReadCityFile(again, &reloaded);
  std::fclose(again);
  EXPECT_EQ(CityCount(), rows);
  ResetCityTable();
}

}  // namespace
