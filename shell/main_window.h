// The main window: the shell's state, the window procedure, the class, start-up and the
// message loop. Win32.
#pragma once

#include <windows.h>

#include "location/location.h"
#include "support/hooks.h"
#include "support/program_files.h"

// The program-wide state of the shell; one main window per process.
struct MainWindowState {
  HINSTANCE instance;
  char productName[kTextSize];
  HWND window;
  HMENU mainMenu;    // kept while the menu bar is detached
  HMENU systemMenu;
  // Setting key names, loaded once.
  char keyWidth[kTextSize];
  char keyHeight[kTextSize];
  char keyX[kTextSize];
  char keyY[kTextSize];
  char keyTime[kTextSize];
  char keyMenus[kTextSize];
  char keySound[kTextSize];
  char keyOnTop[kTextSize];
  int timeKind;
  Location location;  // the current Location, which every tick reads
  wchar_t helpPath[kPathSize];
  // Command state.
  WORD lastTimeCommand;   // the Time item that carries the check mark
  WORD lastChimeCommand;  // the Chimes item that carries the check mark
  int menuBarHidden;
  int alwaysOnTop;
};

extern MainWindowState g_main;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the shell's state, and the state it drives (chimes, the clock face and Night Colours,
// the city table, where UT comes from, the end of the session), back to how a new process
// starts.
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
