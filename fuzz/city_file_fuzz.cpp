// Fuzzes the city-file reader: any bytes (ANSI, UTF-8 with or without its mark, UTF-16 with
// its mark, any line ends) must load without undefined behaviour, give at least one city,
// leave a clock that reads a time of day in every scale, say it was read whole when it is
// plain ASCII text, and write back a file that reads again, whole, to the very same text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "astro/clock_reading.h"
#include "display/clock_text.h"
#include "location/city_file.h"
#include "location/city_parts.h"
#include "location/city_table.h"
#include "location/file_text.h"
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

bool Load(const std::uint8_t *data, std::size_t size, Location *location) {
  ResetCityTable();
  std::FILE *f = std::tmpfile();
  if (f == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::rewind(f);
  const bool whole = ReadCityFile(f, location);
  std::fclose(f);
  return whole;
}

// Printable ASCII, tabs and line ends only: nothing to decode, nothing to lose.
bool IsPlainText(const std::uint8_t *data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if ((data[i] < 0x20 || data[i] > 0x7E) && data[i] != '\t' && data[i] != '\r' && data[i] != '\n') {
      return false;
    }
  }
  return true;
}

void FixedClock(CivilTime *now) { *now = CivilTime{2026, 3, 8, 2, 0, 0}; }
double SummerTime() { return 1.0; }  // the computer's rules, the same on every machine

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  g_platform.readLocalTime = FixedClock;
  g_platform.readDaylightHours = SummerTime;
  Location location{};
  const bool whole = Load(data, size, &location);
  if (CityCount() < 1 || CityTableChanged() != 0) std::abort();
  if (!whole && IsPlainText(data, size)) std::abort();
  for (int kind = 0; kind < 5; ++kind) {
    const double hours = ReadClock(kind, location);
    if (!(hours >= 0.0 && hours <= 24.0)) std::abort();
    char text[kTextSize];
    FormatClockText(hours, text);
    if (std::strlen(text) != 8) std::abort();
    if (kind == 0) MakeTwelveHourText(text);  // no string table here: no designator
    if (std::strlen(text) >= static_cast<std::size_t>(kTextSize)) std::abort();
  }

  // What the program writes, it reads back to the same text. (ANSI names that also form
  // UTF-8, or a name that starts with the bytes of a byte-order mark, are read as such.)
  const std::string first = Written();
  if (TextFormOf(first.data(), first.size()) != TextForm::kAnsi) {
    ResetCityTable();
    return 0;
  }
  if (!Load(reinterpret_cast<const std::uint8_t *>(first.data()), first.size(), &location)) {
    std::abort();
  }
  const std::string second = Written();
  if (first != second) {
    std::fprintf(stderr, "round trip differs:\n--- first\n%s--- second\n%s", first.c_str(),
                 second.c_str());
    std::abort();
  }
  ResetCityTable();
  return 0;
}
