// What tests read inside the clock reading: the cached daylight-saving window. Nothing in the
// program calls these. Portable.
#pragma once

// The cached daylight-saving window, for tests and diagnostics: the local year it holds
// (-1 before the first reading that needs it) and its bounds.
int DaylightSavingCacheYear();
void DaylightSavingCacheBounds(double *start, double *end);
