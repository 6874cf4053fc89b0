// What only tests call of the time server's words: a span of time as the user reads it.
// Portable.
#pragma once

#include <cstddef>

// A span of time (its magnitude, in 100 ns) as a user reads it: "350 ms" below a second,
// "2.34 s" below a minute with `decimals` decimals, then "3 min 12 s", "5 h 20 min", "3 days".
void FormatSpan(long long ticks, int decimals, char *out, std::size_t size);
