// Arming the main window's clock timer for its next tick. Win32.
#pragma once

#include <windows.h>

// Arms the next tick of `window`'s clock timer; called at start-up and at every tick.
void ArmNextTick(HWND window);
