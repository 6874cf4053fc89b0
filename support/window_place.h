// Where the clock and its help window are put back when they open again: the normal
// (restored) place in screen coordinates, whether it can still be reached, and the
// maximised state; and the work area of the monitor a window is on. Win32.
#pragma once

#include <windows.h>

// Whether at least kGrabWidth x kGrabHeight pixels (support/caption_reach.h) of the caption
// bar of a window at (x, y), `width` wide, lie on one monitor's work area: too little of it,
// and the user cannot grab the window.
bool CaptionCanBeGrabbed(int x, int y, int width);

// The window's normal place in screen coordinates (GetWindowPlacement gives it in
// workspace coordinates, which a taskbar at the top or left shifts), and whether it is
// maximised now. False when the placement cannot be had.
bool NormalScreenPlace(HWND window, RECT *place, bool *maximised);

// The work area (the screen less the taskbar) of the monitor that holds the most of
// `window`, or the nearest one; the main monitor's when there is no window.
RECT WorkAreaOf(HWND window);

// Whether `placement` (as GetWindowPlacement gave it) would put its window where the user
// can grab it, on the monitors there are now.
bool PlacementCanBeGrabbed(const WINDOWPLACEMENT &placement);

// The command that shows the clock at start-up: maximised when it was closed maximised and
// the program was started to show its window as usual.
int StartShowCommand(int showCommand);

// Remembers whether the clock closes maximised (0 or 1 under "Maximized").
void StoreMaximised(bool maximised);
