// Arms the clock timer for just after the shown clock's next whole second. Win32. Kept alone
// in its translation unit so that the benchmark's comparison build can link its own instead.
#include "shell/tick_arming.h"

#include "resources/resource_ids.h"
#include "support/clock_timer.h"
#include "shell/tick_timing.h"
#include "support/errors.h"
#include "support/hooks.h"

// The shown second changes with the clock as read, a time server's correction included;
// re-armed at every tick, a coarse or late timer never drifts into skipping a second.
void ArmNextTick(HWND window) {
  CivilTime now = {};
  g_platform.readLocalTime(&now);
  FAIL_IF(SetTimer(window, kClockTimerId, NextTickDelay(now.millisecond), nullptr) == 0,
          IDS_NO_TIMER);
}
