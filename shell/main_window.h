// The main window: the window procedure, the class, start-up and the message loop; the
// program's state is `g_clock` (shell/clock_state.h). Win32.
#pragma once

#include <windows.h>

#include "shell/clock_state.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the program's state, and the state it drives (chimes, the clock face and Night
// Colours, the city table, the saved choices, the end of the session), back to how a new
// process starts.
void ResetShellState();

// Loads the product name and registers the window class (named after the product).
void RegisterMainWindowClass(HINSTANCE instance);

// The stored window geometry, each part CW_USEDEFAULT when absent or when it would leave the
// window off every monitor or smaller than the system allows.
void ReadWindowGeometry(int *x, int *y, int *width, int *height);

// Makes the main window at the given place (CW_USEDEFAULT for the system's choice).
HWND CreateMainWindow(int x, int y, int width, int height);

// One message of the loop: the help window's own, else through the clock's accelerators.
void DispatchClockMessage(HACCEL accelerators, MSG *message);

// The whole program after the hooks are installed: start-up, message loop, exit code.
int RunClock(HINSTANCE instance, int showCommand);
