// Reading the clock for a tick and arming the main window's clock timer for the next one.
// Win32.
#pragma once

#include <windows.h>

#include "location/location.h"

// Reads TimeKind `kind` at `location` and arms `window`'s next tick; returns the reading,
// which the tick draws. LMT and UT: armed first, for just after the computer's next whole
// second. LST and GST: armed from the reading itself, for just after the scale's next whole
// second, since a sidereal second is shorter than the computer's and drifts through it.
// Called at start-up, at every tick and when the scale shown changes.
double ReadClockAndArmNextTick(HWND window, int kind, const Location &location);
