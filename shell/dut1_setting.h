// DUT1 as stored, put in force at start-up. Win32.
#pragma once

// Reads the stored DUT1 (signed whole milliseconds) and applies it; an absent, unreadable or
// out-of-range value leaves DUT1 at 0.
void ApplySavedDut1();
