// The stored DUT1 (UT1 - UTC) that the sidereal scales take at start-up. Win32.
#pragma once

// Reads the stored "DUT1", whole milliseconds with an optional minus, and hands it to the
// sidereal scales; absent, unreadable or beyond 0.9 s either way, DUT1 is 0.
void ApplySavedDut1();
