// What the benchmarks share: a clock that moves on one second per reading, the AM/PM
// texts, and a Location with daylight saving (so that the window cache is used).
#pragma once

#include <cstdio>

#include "location/location.h"
#include "support/hooks.h"

inline CivilTime g_benchNow{2026, 12, 7, 13, 59, 0};

// Every reading is a new second, as every tick of the real clock is.
inline void ReadAdvancingClock(CivilTime *now) {
  if (++g_benchNow.second == 60) {
    g_benchNow.second = 0;
    if (++g_benchNow.minute == 60) g_benchNow.minute = 0;
  }
  *now = g_benchNow;
}

inline int LoadDesignator(int id, char *out, int size) {
  std::snprintf(out, static_cast<std::size_t>(size), "%s", id == 134 ? "PM" : "AM");
  return 2;
}

inline Location Denver() {
  Location l{};
  std::snprintf(l.name, sizeof l.name, "Denver");
  l.hemisphere = kWest;
  l.longitude = 104.98416666666667;  // 104 deg 59 min 3 s
  l.zone = -7.0;
  l.dst = 1;
  return l;
}
