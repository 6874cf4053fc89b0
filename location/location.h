// The observer's Location and the Hemisphere codes, shared by the clock, the city table and
// the dialogs. Portable.
#pragma once

#include <cstdint>

// Direction codes of a longitude. Only West counts as west; every other code counts as east.
enum Hemisphere : std::int32_t { kNorth = 0, kSouth = 1, kWest = 2, kEast = 3 };

// Names are at most 20 characters.
constexpr int kCityNameLength = 20;

struct Location {
  char name[kCityNameLength + 1];
  std::int32_t hemisphere;  // a Hemisphere code
  double longitude;         // decimal degrees, never negative; the direction is in hemisphere
  double zone;              // standard time zone in hours, positive east: UT = local - zone
  std::int32_t dst;         // a daylight-saving code, below
};

// Daylight-saving codes, as the city file stores them: none, the US rules by year, or the
// rules of the computer's own time zone.
enum DaylightSavingCode : std::int32_t {
  kNoDaylightSaving = 0,
  kUsDaylightSaving = 1,
  kComputerDaylightSaving = 2,
};

// What a stored code means. Codes other than 0, 1 and 2 come only from hand-edited files or
// newer programs; they mean the US rules, as every nonzero code did before the computer's
// rules could be chosen, so an old file reads exactly as it always has.
inline std::int32_t DaylightSavingOf(std::int32_t code) {
  return code == kNoDaylightSaving || code == kComputerDaylightSaving ? code : kUsDaylightSaving;
}
