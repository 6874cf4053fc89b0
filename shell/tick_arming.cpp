// Arms the clock timer for just after the next whole second of the scale shown. Win32. Kept
// alone in its translation unit so that the benchmark's comparison build can link its own
// instead.
#include "shell/tick_arming.h"

#include "astro/clock_reading.h"
#include "resources/resource_ids.h"
#include "shell/tick_timing.h"
#include "support/clock_timer.h"
#include "support/errors.h"
#include "support/hooks.h"

namespace {

void Arm(HWND window, unsigned delay) {
  FAIL_IF(SetTimer(window, kClockTimerId, delay, nullptr) == 0, IDS_NO_TIMER);
}

}  // namespace

// Re-armed at every tick, a coarse or late timer never drifts into skipping a second.
double ReadClockAndArmNextTick(HWND window, int kind, const Location &location) {
  if (kind != kLst && kind != kGst) {
    // The clock as the scales read it (a time server's correction included), read before the
    // reading drawn: a second that turns between the two is then shown early, never jumped
    // over.
    CivilTime now = {};
    g_platform.readLocalTime(&now);
    Arm(window, NextTickDelay(now.millisecond));
    return ReadClock(kind, location);
  }
  // The phase of the sky's second is in the reading alone: arming from any other reading of
  // the clock could aim at a second other than the one drawn.
  const double hours = ReadClock(kind, location);
  Arm(window, NextScaleTickDelay(SecondFractionOf(hours), kSiderealSecondInSolarSeconds));
  return hours;
}
