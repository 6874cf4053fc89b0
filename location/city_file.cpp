// Reading and writing the city database text. Portable.
#include "location/city_file.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "location/city_parts.h"
#include "location/city_table.h"
#include "location/file_text.h"
#include "resources/resource_ids.h"
#include "support/ansi_text.h"
#include "support/hooks.h"

namespace {

constexpr char kSeparator = '|';

// The next line of the text from `*position`, terminated in place: a line ends at CR LF,
// LF or CR alone. Null at the end of the text.
char *NextLine(FileText *text, std::size_t *position) {
  std::size_t i = *position;
  if (i >= text->size) return nullptr;
  char *line = text->bytes + i;
  while (i < text->size && text->bytes[i] != '\n' && text->bytes[i] != '\r') ++i;
  if (i < text->size) {
    const bool crlf = text->bytes[i] == '\r' && i + 1 < text->size && text->bytes[i + 1] == '\n';
    text->bytes[i] = '\0';
    i += crlf ? 2 : 1;
  }
  *position = i;
  return line;
}

// Empty lines, and lines of nothing but blanks and separators, hold no city. A line is
// text up to its first NUL byte, as everywhere else in the program.
bool HoldsNoCity(const char *line) {
  for (const char *p = line; *p != '\0'; ++p) {
    if (*p != kSeparator && !IsWhiteSpace(*p)) return false;
  }
  return true;
}

int HemisphereOfLetter(char letter) {
  switch (letter) {
    case 'N': case 'n': return kNorth;
    case 'S': case 's': return kSouth;
    case 'W': case 'w': return kWest;
    case 'E': case 'e': return kEast;
    default: return -1;
  }
}

}  // namespace

char *NextField(FieldCursor *cursor) {
  if (cursor->next == nullptr) return nullptr;
  while (*cursor->next == kSeparator) ++cursor->next;
  if (*cursor->next == '\0') {
    cursor->next = nullptr;
    return nullptr;
  }
  char *field = cursor->next;
  // The second byte of a double-byte character may be | too: it separates nothing.
  char *end = const_cast<char *>(FindAnsiChar(field, kSeparator));
  if (end == nullptr) {
    cursor->next = nullptr;
  } else {
    *end = '\0';
    cursor->next = end + 1;
  }
  return field;
}

std::int32_t ParseIntegerField(const char *field) {
  const char *p = field;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;  // out of range: no number
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<std::int32_t>(value);
}

double ParseZoneField(const char *field) {
  // The C locale is never changed, so strtod takes the full stop as the decimal point
  // whatever the user's settings: files move between users unchanged.
  const double zone = std::strtod(field, nullptr);
  // "inf", "nan" or 1e300 would make the clock's arithmetic undefined.
  if (!std::isfinite(zone) || std::fabs(zone) > 24.0) return 0.0;
  return zone;
}

void ParseLongitudeFields(FieldCursor *fields, LongitudeFields *record) {
  const char *degrees = NextField(fields);
  const char *minutes = NextField(fields);
  const char *seconds = NextField(fields);
  const char *direction = NextField(fields);
  record->degrees = degrees != nullptr ? ParseIntegerField(degrees) : 0;
  record->minutes = minutes != nullptr ? ParseIntegerField(minutes) : 0;
  record->seconds = seconds != nullptr ? ParseIntegerField(seconds) : 0;
  // Blanks before the letter are skipped, as before a number ("| W |" is West).
  while (direction != nullptr && IsWhiteSpace(*direction)) ++direction;
  const int hemisphere = direction != nullptr ? HemisphereOfLetter(direction[0]) : -1;
  if (hemisphere >= 0) record->hemisphere = hemisphere;
}

void StoreNoNameCity(Location *location) {
  char name[kTextSize];
  LoadText(IDS_NO_NAME, name);
  StoreCity(1, name, 0, 0, 0, kWest, 0.0, 0);
  LocationFromCurrentCity(location);
}

void ReadCityLines(std::FILE *file, CityFileRead *read, CityRowSink sink, void *context) {
  // Read in binary and whole: a Ctrl-Z or an encoding the C library does not know must not
  // end the reading early, since a later save would write back only what was read.
  FileText text = {nullptr, 0};
  const bool allBytes = ReadAllBytes(file, &text);
  read->stamp = StartFileStamp();
  AddToFileStamp(&read->stamp, text.bytes, text.size);
  read->stamp.taken = allBytes;
  read->whole = DecodeToAnsi(&text) && allBytes;
  read->firstLine[0] = '\0';
  std::size_t position = 0;
  char *line = NextLine(&text, &position);
  read->hasFirstLine = line != nullptr;
  if (line != nullptr) {
    NormalizeWhiteSpace(line);
    CutAnsiText(line, kCityNameLength);
    std::snprintf(read->firstLine, sizeof read->firstLine, "%s", line);
  }

  LongitudeFields record = {0, 0, 0, kWest};  // a first line without a letter counts as West
  while ((line = NextLine(&text, &position)) != nullptr) {
    if (HoldsNoCity(line)) continue;  // a blank line does not end the file
    FieldCursor fields = {line};
    char *nameField = NextField(&fields);  // never null: the line holds something
    NormalizeWhiteSpace(nameField);
    CutAnsiText(nameField, kCityNameLength);
    CityRecord row = {};
    std::snprintf(row.name, sizeof row.name, "%s", nameField);
    ParseLongitudeFields(&fields, &record);
    row.degrees = record.degrees;
    row.minutes = record.minutes;
    row.seconds = record.seconds;
    row.hemisphere = record.hemisphere;
    const char *zoneField = NextField(&fields);
    row.zone = zoneField != nullptr ? ParseZoneField(zoneField) : 0.0;
    const char *dstField = NextField(&fields);
    row.dst = dstField != nullptr ? ParseIntegerField(dstField) : 1;
    sink(context, &row);
  }
  std::free(text.bytes);
}

namespace {

void StoreLoadedRow(void *, CityRecord *row) {
  StoreCity(1, row->name, row->degrees, row->minutes, row->seconds, row->hemisphere, row->zone,
            row->dst);
}

}  // namespace

bool ReadCityFile(std::FILE *file, Location *location, FileStamp *stamp) {
  CityFileRead read;
  ReadCityLines(file, &read, StoreLoadedRow, nullptr);
  if (read.hasFirstLine) SetCurrentCityName(read.firstLine);
  if (stamp != nullptr) *stamp = read.stamp;

  if (CityCount() == 0) {
    StoreNoNameCity(location);  // the clock always needs a Location
  } else {
    LocationFromCurrentCity(location);
  }
  return read.whole;
}

bool WriteCityFile(std::FILE *file) {
  if (std::fprintf(file, "%s\n", CurrentCityName()) < 0) return false;
  for (int i = 0; i < CityCount(); ++i) {
    const CityRecord *row = CityRow(i);
    if (std::fprintf(file, "%-20s|%3d|%2d|%2d|%c|%2.2f|%d\n", row->name, row->degrees,
                     row->minutes, row->seconds, row->hemisphere == kWest ? 'W' : 'E', row->zone,
                     row->dst) < 0) {
      return false;
    }
  }
  return true;
}
