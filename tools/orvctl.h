// What the parts of orvctl share: the clock's window, the failure report, and the two
// measurements (time-to-paint, tick-lag). Win32.
#pragma once

#include <windows.h>

HWND FindClock();
// Says what failed on stderr; 2, the exit code of every failure.
int Fail(const char *what);

// Starts EXE, prints the milliseconds until its window shows and until its text is drawn.
int TimeToPaint(const char *exe);
// Which seconds the clock is showing, for tick-lag: the computer's (LMT, UT), or sidereal
// time by the clock's own formulas, at a longitude (degrees, east positive; 0 for GST), mean
// or apparent, with a DUT1 in milliseconds.
struct ShownScale {
  bool sidereal;
  double longitudeEast;
  bool apparent;
  int dut1Ms;
};

// Watches the clock's shown seconds for `seconds` and prints how late each change was after
// the second of `scale`.
int TickLag(HWND w, double seconds, const ShownScale &scale);
