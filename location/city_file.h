// The city database file's text: one line with the current city name, then a line per
// city of seven |-separated fields. Reading and writing over standard C streams. Portable.
#pragma once

#include <cstdint>
#include <cstdio>

#include "location/location.h"

// Splits one line on the separator | the way strtok does: a run of separators counts as
// one and leading separators are skipped, so no field is ever empty.
class FieldSplitter {
 public:
  explicit FieldSplitter(char *line) : next_(line) {}
  // The next field, terminated in place, or null when there is none.
  char *Next();

 private:
  char *next_;
};

// Degrees, minutes, seconds and hemisphere of the line being read. One record serves a whole
// load, so a line without a valid direction letter keeps the previous line's hemisphere.
struct LongitudeFields {
  std::int32_t degrees;
  std::int32_t minutes;
  std::int32_t seconds;
  std::int32_t hemisphere;
};

// Fills the record from fields 2 to 5 of the line being split.
void ParseLongitudeFields(FieldSplitter *fields, LongitudeFields *record);

// A whole-number field: leading white space, an optional sign, the digits up to the first
// non-digit; 0 when there are none or when the number does not fit an int.
std::int32_t ParseIntegerField(const char *field);

// A zone field in hours, full stop as decimal point; 0 when no finite number of at most 24
// hours in magnitude can be read.
double ParseZoneField(const char *field);

// Reads the file into the (empty) city table and fills the current Location. A file that
// yields no city gives the one row "No name", made current. Never sets the changed flag.
// The stream is read in binary, whole, and decoded (see file_text.h); line ends are CR LF,
// LF or CR. False when the file could not be read or decoded whole: the table then lacks
// something the file holds.
bool ReadCityFile(std::FILE *file, Location *location);

// The fallback when there is no readable city: the single "No name" row, made current.
void StoreNoNameCity(Location *location);

// Writes the current city name and every row; false at the first write that fails.
bool WriteCityFile(std::FILE *file);
