// The city table: the named places the observer is chosen from, the current city name and
// the table-changed flag, and the white-space rules every city name passes through.
// Portable: the rows live in one block that the platform hook grows one row at a time, or
// at once for rows joining from another clock's file.
#pragma once

#include <cstdint>

#include "location/location.h"

struct CityRecord {
  char name[kCityNameLength + 1];  // normalised, at most 20 characters
  std::int32_t degrees;
  std::int32_t minutes;
  std::int32_t seconds;
  std::int32_t hemisphere;  // a Hemisphere code
  double zone;              // hours, positive east of Greenwich
  std::int32_t dst;         // 0 none, 1 the US rules, 2 the computer's own rules; any other
                            // value counts as 1 and is kept as it came
};

// Space, tab, line feed, vertical tab, form feed and carriage return; nothing else.
bool IsWhiteSpace(char c);

// Trims, and reduces every inner run of white space to its last character, in place.
void NormalizeWhiteSpace(char *s);

// True when the two texts are equal, ignoring the case of the ASCII letters A to Z only.
bool EqualIgnoringAsciiCase(const char *a, const char *b);

// The first row whose name matches (normalising `name` in place, ignoring ASCII case).
CityRecord *FindCity(char *name);

// Stores a city: loading appends always; otherwise the row of that name is updated (or one
// appended), the city becomes the current one, and a change sets the table-changed flag.
// `name` is normalised and cut to 20 characters in place (its buffer has room for 21).
void StoreCity(int loading, char *name, std::int32_t degrees, std::int32_t minutes,
               std::int32_t seconds, std::int32_t hemisphere, double zone, std::int32_t dst);

// Fills `location` from the current city's row, or from the first row (whose name then
// becomes the current city name) when no row carries the current name.
void LocationFromCurrentCity(Location *location);

// Makes room for `rows` rows in all, so that storing up to that many cannot run out of
// memory. False when there is none to be had; the table is then as it was.
bool ReserveCityRows(int rows);

int CityCount();
const CityRecord *CityRow(int index);

// The current city name: up to 20 characters.
const char *CurrentCityName();
void SetCurrentCityName(const char *name);

int CityTableChanged();
void SetCityTableChanged(int changed);

// Gives the rows' memory back and empties the table (name and flag are kept).
void ReleaseCityTable();
// Empties everything: rows, current city name and flag (a new load starts from here).
void ResetCityTable();
