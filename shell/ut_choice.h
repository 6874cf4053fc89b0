// Universal Time from Windows: the menu choice, its setting, and the question put when the
// city's zone disagrees with the computer's clock. Win32.
#pragma once

#include <windows.h>

// Posted by start-up after the saved choices, so that the question comes once the window
// is shown and the saved choice is in force.
constexpr UINT kCheckUniversalTimeMessage = WM_APP + 1;

// Start-up: posts the saved choice (as the user's command) and then the check.
void ApplySavedUtChoice(HWND window);

// The menu command: turns the choice over, moves both check marks and stores it.
void ToggleUtFromWindows(HWND window);

// Asks whether to take UT from Windows when the city and the computer disagree; Yes turns
// the choice on.
void CheckUniversalTime(HWND window);

// Back to how a new process starts: the choice off, no city declined.
void ResetUtChoice();
