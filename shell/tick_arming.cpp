// Arms the clock timer for just after the computer's next whole second. Win32. Kept alone in
// its translation unit so that the benchmark's comparison build can link its own instead.
#include "shell/tick_arming.h"

#include "resources/resource_ids.h"
#include "support/clock_timer.h"
#include "shell/tick_timing.h"
#include "support/errors.h"

// The shown second changes with the computer's; re-armed at every tick, a coarse or late
// timer never drifts into skipping a second.
void ArmNextTick(HWND window) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FAIL_IF(SetTimer(window, kClockTimerId, NextTickDelay(now.wMilliseconds), nullptr) == 0,
          IDS_NO_TIMER);
}
