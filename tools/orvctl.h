// What the parts of orvctl share: the clock's window, the failure report, and the two
// measurements (time-to-paint, tick-lag). Win32.
#pragma once

#include <windows.h>

HWND FindClock();
// Says what failed on stderr; 2, the exit code of every failure.
int Fail(const char *what);

// Starts EXE, prints the milliseconds until its window shows and until its text is drawn.
int TimeToPaint(const char *exe);
// tick-lag SECONDS [SCALE [LONGITUDE [DUT1]]] or tick-lag SECONDS OFFSET: watches the clock's
// shown seconds for SECONDS and prints how late each change was after the second of SCALE,
// or of the computer's clock plus OFFSET seconds.
int TickLag(int argc, char **argv, HWND w);
