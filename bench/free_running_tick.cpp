// The tick as it was before it followed the computer's seconds: one free-running one-second
// timer, armed once and never re-armed. Win32. Linked in place of shell/tick_arming.cpp only
// in the comparison build that the tick benchmark sets beside the real clock.
#include "astro/clock_reading.h"
#include "resources/resource_ids.h"
#include "support/clock_timer.h"
#include "shell/tick_arming.h"
#include "support/errors.h"

double ReadClockAndArmNextTick(HWND window, int kind, const Location &location) {
  static HWND armed = nullptr;
  if (armed != window) {
    armed = window;
    FAIL_IF(SetTimer(window, kClockTimerId, 1000, nullptr) == 0, IDS_NO_TIMER);
  }
  return ReadClock(kind, location);
}
