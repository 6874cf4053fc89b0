// The main window: its state, window procedure, class and creation. Win32.
#pragma once

#include <windows.h>

#include "location/location.h"
#include "support/hooks.h"

// The program-wide state of the shell; one main window per process.
struct MainWindowState {
  HINSTANCE instance;
  char productName[kTextSize];
  HWND window;
  int timeKind;
  Location location;  // the current Location, which every tick reads
};

extern MainWindowState g_main;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Loads the product name and registers the window class (named after the product).
void RegisterMainWindowClass(HINSTANCE instance);

// Makes the main window at the given place (CW_USEDEFAULT for the system's choice).
HWND CreateMainWindow(int x, int y, int width, int height);

// The whole program after the hooks are installed: start-up, message loop, exit code.
int RunClock(HINSTANCE instance, int showCommand);
