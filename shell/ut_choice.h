// The question put when the city's zone disagrees with the computer's clock, whose Yes turns
// Universal Time from Windows on. Win32.
#pragma once

#include <windows.h>

// Posted by start-up after the saved choices, so that the question comes once the window
// is shown and the saved choice is in force.
constexpr UINT kCheckUniversalTimeMessage = WM_APP + 1;

// Asks whether to take UT from Windows when the city and the computer disagree; Yes turns
// the choice on.
void CheckUniversalTime(HWND window);
