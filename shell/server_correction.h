// Measuring how far the computer's clock is off a time server, for the correction of the
// shown time: at start-up, every hour, after waking from sleep and after the computer's clock
// changes; never waiting, never setting the computer's clock. Win32.
#pragma once

#include <windows.h>

// The exchange's result comes to the main window as this message; it also takes the two
// after it.
constexpr UINT kServerCorrectionMessage = WM_APP + 20;
// Every few seconds while the correction is on: due measurements, an old offset, a result of
// the clock check's dialog.
constexpr UINT_PTR kCorrectionTimerId = 0x5343;
constexpr UINT kCorrectionPollMs = 5000;

// The choice made: on starts measuring at once, off forgets the offset and stops.
void TurnServerCorrection(HWND window, bool on);

// The main window's messages that are the correction's or the exchange's (its results, its
// timers, waking from sleep); true when handled and nothing else should see it.
bool ServerCorrectionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The computer's clock or zone changed: the offset is dropped at once and measured again.
void DropServerCorrection(HWND window);

// Closing: the timer stopped and any question under way dropped.
void StopServerCorrection(HWND window);
