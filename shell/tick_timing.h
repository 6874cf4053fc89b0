// When the clock's next tick is due: just after the next whole second of the computer's
// clock, so that the shown second changes with the computer's. Portable.
#pragma once

// How far past the whole second a tick is aimed, in milliseconds: enough that a timer that
// fires a little early, or a clock read a moment stale, still lands in the new second.
constexpr int kTickMarginMs = 3;

// The wait, in milliseconds, from a reading `millisecond` (0 to 999) into the computer's
// current second until kTickMarginMs after the next whole second. Readings outside 0 to 999
// count as the nearest end.
unsigned NextTickDelay(int millisecond);
