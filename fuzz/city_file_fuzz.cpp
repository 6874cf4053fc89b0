// Fuzzes the city-file reader: any bytes must load without undefined behaviour, give at
// least one city, leave a clock that reads a finite time in every scale, and write back a
// file that reads again to the very same text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "astro/clock_reading.h"
#include "display/clock_text.h"
#include "location/city_file.h"
#include "location/city_table.h"
#include "support/hooks.h"

namespace {

std::string Written() {
  std::FILE *f = std::tmpfile();
  if (f == nullptr) std::abort();
  if (!WriteCityFile(f)) std::abort();
  std::string text;
  std::rewind(f);
  for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(f);
  return text;
}

void Load(const std::uint8_t *data, std::size_t size, Location *location) {
  ResetCityTable();
  std::FILE *f = std::tmpfile();
  if (f == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::rewind(f);
  ReadCityFile(f, location);
  std::fclose(f);
}

void FixedClock(CivilTime *now) { *now = CivilTime{2026, 3, 8, 2, 0, 0}; }
double SummerTime() { return 1.0; }  // the computer's rules, the same on every machine

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  g_platform.readLocalTime = FixedClock;
  g_platform.readDaylightHours = SummerTime;
  Location location{};
  Load(data, size, &location);
  if (CityCount() < 1 || CityTableChanged() != 0) std::abort();
  for (int kind = 0; kind < 5; ++kind) {
    const double hours = ReadClock(kind, location);
    if (!std::isfinite(hours)) std::abort();
    char text[kTextSize];
    FormatClockText(hours, text);
    if (kind == 0) MakeTwelveHourText(text);
    if (std::strlen(text) >= static_cast<std::size_t>(kTextSize)) std::abort();
  }

  // What the program writes, it reads back to the same text.
  const std::string first = Written();
  Load(reinterpret_cast<const std::uint8_t *>(first.data()), first.size(), &location);
  const std::string second = Written();
  if (first != second) {
    std::fprintf(stderr, "round trip differs:\n--- first\n%s--- second\n%s", first.c_str(),
                 second.c_str());
    std::abort();
  }
  ResetCityTable();
  return 0;
}
