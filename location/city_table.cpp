// The city table and name normalisation. Portable.
#include "location/city_table.h"

#include <cstdio>
#include <cstring>

#include "location/city_parts.h"
#include "resources/resource_ids.h"
#include "support/ansi_text.h"
#include "support/errors.h"
#include "support/hooks.h"

namespace {

CityRecord *g_rows = nullptr;
int g_rowCount = 0;
int g_rowCapacity = 0;  // rows the block has room for
char g_currentCityName[kCityNameLength + 1] = "";
int g_tableChanged = 0;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void CutToNameLength(char *name) { CutAnsiText(name, kCityNameLength); }

// Zones as the file writes them, with two decimals: the dialog reads a zone in single
// precision, so -3.30 comes back as -3.2999999523 and is still the same zone.
bool SameZoneInTheFile(double a, double b) {
  char textA[kTextSize];
  char textB[kTextSize];
  std::snprintf(textA, sizeof textA, "%.2f", a);
  std::snprintf(textB, sizeof textB, "%.2f", b);
  return std::strcmp(textA, textB) == 0;
}

bool SameRow(const CityRecord &a, const CityRecord &b) {
  return std::strcmp(a.name, b.name) == 0 && a.degrees == b.degrees && a.minutes == b.minutes &&
         a.seconds == b.seconds && a.hemisphere == b.hemisphere && !(a.zone != b.zone) &&
         a.dst == b.dst;
}

}  // namespace

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void TrimWhiteSpace(char *s) {
  std::size_t start = 0;
  while (IsWhiteSpace(s[start])) ++start;
  std::size_t length = std::strlen(s + start);
  std::memmove(s, s + start, length + 1);
  while (length > 0 && IsWhiteSpace(s[length - 1])) s[--length] = '\0';
}

void NormalizeWhiteSpace(char *s) {
  TrimWhiteSpace(s);
  // One pass that keeps the last character of each run, as removing the first of each
  // adjacent pair would.
  std::size_t out = 0;
  for (std::size_t i = 0; s[i] != '\0'; ++i) {
    if (IsWhiteSpace(s[i]) && IsWhiteSpace(s[i + 1])) continue;
    s[out++] = s[i];
  }
  s[out] = '\0';
}

bool EqualIgnoringAsciiCase(const char *a, const char *b) {
  for (;;) {
    if (UpperAscii(*a) != UpperAscii(*b)) return false;
    if (*a == '\0') return true;
    // The rest of a double-byte character is no letter, whatever its byte: exactly equal.
    const std::size_t length = AnsiCharLength(a);
    for (std::size_t i = 1; i < length; ++i) {
      if (a[i] != b[i]) return false;
    }
    a += length;
    b += length;
  }
}

CityRecord *FindCity(char *name) {
  NormalizeWhiteSpace(name);
  for (int i = 0; i < g_rowCount; ++i) {
    if (EqualIgnoringAsciiCase(g_rows[i].name, name)) return &g_rows[i];
  }
  return nullptr;
}

void StoreCity(int loading, char *name, std::int32_t degrees, std::int32_t minutes,
               std::int32_t seconds, std::int32_t hemisphere, double zone, std::int32_t dst) {
  NormalizeWhiteSpace(name);
  CutToNameLength(name);

  CityRecord *target = loading == 0 ? FindCity(name) : nullptr;
  const bool appended = target == nullptr;
  if (appended) {
    FAIL_IF(!ReserveCityRows(g_rowCount + 1), IDS_OUT_OF_MEMORY);
    target = &g_rows[g_rowCount];
    std::memset(target, 0, sizeof *target);
  }
  const CityRecord before = *target;

  std::memset(target->name, 0, sizeof target->name);
  std::memcpy(target->name, name, std::strlen(name));
  target->degrees = degrees;
  target->minutes = minutes;
  target->seconds = seconds;
  target->hemisphere = hemisphere;
  // The same zone at the file's precision keeps the row's own value: no change at all.
  if (appended || !SameZoneInTheFile(zone, before.zone)) target->zone = zone;
  target->dst = dst;

  if (loading == 0 && !EqualIgnoringAsciiCase(name, g_currentCityName)) {
    // A change of letter case alone keeps the current name as it was.
    SetCurrentCityName(name);
    g_tableChanged = 1;
  }
  if (appended) ++g_rowCount;
  if (loading == 0 && !SameRow(*target, before)) g_tableChanged = 1;
}

void LocationFromCurrentCity(Location *location) {
  const CityRecord *row = FindCity(g_currentCityName);
  if (row == nullptr && g_rowCount > 0) {
    row = &g_rows[0];
    SetCurrentCityName(row->name);
  }
  std::memset(location, 0, sizeof *location);
  if (row == nullptr) {  // an empty table: the loader never leaves one, but stay defined
    location->hemisphere = kWest;
    return;
  }
  std::memcpy(location->name, row->name, sizeof location->name);
  location->longitude = row->seconds * (1.0 / 3600.0) + row->minutes * (1.0 / 60.0) + row->degrees;
  location->hemisphere = row->hemisphere;
  location->zone = row->zone;
  location->dst = row->dst;
}

bool ReserveCityRows(int rows) {
  if (rows <= g_rowCapacity) return true;
  const std::size_t bytes = static_cast<std::size_t>(rows) * sizeof(CityRecord);
  if (bytes / sizeof(CityRecord) != static_cast<std::size_t>(rows)) return false;
  void *block = g_platform.resizeTableBlock(bytes);
  if (block == nullptr) return false;  // the rows stay where they were
  g_rows = static_cast<CityRecord *>(block);
  g_rowCapacity = rows;
  return true;
}

int CityCount() { return g_rowCount; }

const CityRecord *CityRow(int index) {
  return index >= 0 && index < g_rowCount ? &g_rows[index] : nullptr;
}

const char *CurrentCityName() { return g_currentCityName; }

void SetCurrentCityName(const char *name) {
  std::snprintf(g_currentCityName, sizeof g_currentCityName, "%s", name);
}

int CityTableChanged() { return g_tableChanged; }
void SetCityTableChanged(int changed) { g_tableChanged = changed; }

void ReleaseCityTable() {
  if (g_rows != nullptr) g_platform.resizeTableBlock(0);
  g_rows = nullptr;
  g_rowCount = 0;
  g_rowCapacity = 0;
}

void ResetCityTable() {
  ReleaseCityTable();
  g_currentCityName[0] = '\0';
  g_tableChanged = 0;
}
