// The delay to the clock's next tick. Portable.
#include "shell/tick_timing.h"

unsigned NextTickDelay(int millisecond) {
  if (millisecond < 0) millisecond = 0;
  if (millisecond > 999) millisecond = 999;
  // Re-armed at every tick, so a late wake-up or a coarse timer never accumulates: each
  // wait is measured from the clock itself, not from the last wait.
  return static_cast<unsigned>(1000 - millisecond + kTickMarginMs);
}
