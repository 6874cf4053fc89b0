// The pieces of reading cities that only location/ itself calls, declared here for the tests
// and the fuzzer; the rest of the program goes through city_file.h and city_table.h. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "location/city_table.h"
#include "location/file_text.h"

// One line being split on the separator | the way strtok does: a run of separators counts
// as one and leading separators are skipped, so no field is ever empty.
struct FieldCursor {
  char *next;  // where the next field starts, or null when the line is used up
};

// The next field of the line, terminated in place, or null when there is none.
char *NextField(FieldCursor *cursor);

// Degrees, minutes, seconds and hemisphere of the line being read. One record serves a whole
// load, so a line without a valid direction letter keeps the previous line's hemisphere.
struct LongitudeFields {
  std::int32_t degrees;
  std::int32_t minutes;
  std::int32_t seconds;
  std::int32_t hemisphere;
};

// Fills the record from fields 2 to 5 of the line being split.
void ParseLongitudeFields(FieldCursor *fields, LongitudeFields *record);

// A whole-number field: leading white space, an optional sign, the digits up to the first
// non-digit; 0 when there are none or when the number does not fit an int.
std::int32_t ParseIntegerField(const char *field);

// A zone field in hours, full stop as decimal point; 0 when no finite number of at most 24
// hours in magnitude can be read.
double ParseZoneField(const char *field);

// Removes leading and trailing white space, in place (NormalizeWhiteSpace does this first).
void TrimWhiteSpace(char *s);

enum class TextForm { kAnsi, kUtf8, kUtf8Marked, kUtf16Le, kUtf16Be };

// How the bytes are taken: by their byte-order mark, else as UTF-8 when they hold non-ASCII
// characters that are all well-formed UTF-8, else as ANSI.
TextForm TextFormOf(const char *bytes, std::size_t size);

// What reading a city file gave besides its rows.
struct CityFileRead {
  char firstLine[kCityNameLength + 1];  // normalised and cut; empty when there is none
  bool hasFirstLine;
  FileStamp stamp;  // of the bytes as they lie on disk; not taken when the reading stopped early
  bool whole;       // read and decoded whole: nothing the file holds was left out
};

// Receives each city line of a file as a row, in the file's order; the row's name may be
// changed in place.
using CityRowSink = void (*)(void *context, CityRecord *row);

// Reads the stream in binary to its end, decodes it, and hands every city line to `sink`.
// `read` is filled whole before the first row is handed on.
void ReadCityLines(std::FILE *file, CityFileRead *read, CityRowSink sink, void *context);
