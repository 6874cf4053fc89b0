// The correction of the shown time by a time server: the measured offset, how long it is
// believed, when the next measurement is due, and a civil reading moved by it. Portable.
#pragma once

#include <cstdint>

#include "support/hooks.h"

// The computer's monotonic clock, in milliseconds (Win32: GetTickCount64, which counts sleep).
constexpr std::int64_t kCorrectionHourMs = 3600 * 1000;
// A good measurement keeps the correction for this long when the later ones fail.
constexpr std::int64_t kCorrectionLifetimeMs = 24 * kCorrectionHourMs;

struct TimeCorrection {
  bool on;                 // the user's choice
  bool haveOffset;         // a good measurement less than a day old, made since the last change
  std::int64_t offset;     // the server's time less the computer's, in 100 ns
  std::int64_t measuredAt; // monotonic ms of the last good measurement
  std::int64_t nextDue;    // monotonic ms when the next measurement is due
};

// The one the platform's clock readings apply.
extern TimeCorrection g_timeCorrection;

// Turned on: a measurement is due at once. Turned off: the offset is dropped.
void SetCorrectionOn(TimeCorrection *c, bool on, std::int64_t now);
// A measurement's outcome: a good one's offset is taken; a failed one keeps the last. Either
// way the next is due in an hour.
void RecordMeasurement(TimeCorrection *c, bool good, std::int64_t offset, std::int64_t now);
// The computer's clock or zone changed: an offset measured before means nothing now.
void DropCorrection(TimeCorrection *c, std::int64_t now);
// The computer woke from sleep: measure again now.
void MeasureSoon(TimeCorrection *c, std::int64_t now);
// Drops an offset whose last good measurement is over a day old; true when it did.
bool ExpireCorrection(TimeCorrection *c, std::int64_t now);
// Whether a measurement should be started now.
bool MeasurementDue(const TimeCorrection &c, std::int64_t now);
// Whether the shown time is corrected: on, with an offset.
bool CorrectionInForce(const TimeCorrection &c);
// What the clock readings add: the offset while in force, else 0.
std::int64_t CorrectionOffset(const TimeCorrection &c);

// Moves a civil reading by `ticks` (100 ns), milliseconds included, across days, months and
// years (proleptic Gregorian). Below a millisecond is cut toward the past.
void ShiftCivilTime(CivilTime *time, std::int64_t ticks);
