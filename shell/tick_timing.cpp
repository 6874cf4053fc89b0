// The delay to the clock's next tick. Portable.
#include "shell/tick_timing.h"

#include <cmath>

#include "display/clock_text.h"

unsigned NextTickDelay(int millisecond) {
  if (millisecond < 0) millisecond = 0;
  if (millisecond > 999) millisecond = 999;
  // Re-armed at every tick, so a late wake-up or a coarse timer never accumulates: each
  // wait is measured from the clock itself, not from the last wait.
  return static_cast<unsigned>(1000 - millisecond + kTickMarginMs);
}

unsigned NextScaleTickDelay(double fraction, double secondLength) {
  if (!(fraction >= 0.0)) fraction = 0.0;
  if (fraction > 1.0) fraction = 1.0;
  if (!(secondLength > 0.0 && secondLength <= 1.0)) secondLength = 1.0;
  // Up to the whole millisecond at or after the boundary, then the margin: a wait that would
  // end on the boundary itself could show the old second once more.
  const double remaining = std::ceil((1.0 - fraction) * secondLength * 1000.0);
  return static_cast<unsigned>(remaining) + static_cast<unsigned>(kTickMarginMs);
}

double SecondFractionOf(double hours) {
  if (!std::isfinite(hours)) return 0.0;
  // The second as FormatClockTextCut shows it, a hair early.
  const double seconds = std::fabs(hours) * 3600.0 + kCutSecondLead;
  return seconds - std::floor(seconds);
}
