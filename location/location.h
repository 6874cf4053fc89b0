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
  std::int32_t dst;         // 1 when the US daylight-saving rules apply
};
