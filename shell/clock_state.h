// The program's state in one record: the city, the saved choices, the menus, the help file
// and the names of the stored window place; one clock per process. Win32.
#pragma once

#include <windows.h>

#include "location/location.h"
#include "shell/choices.h"
#include "support/hooks.h"
#include "support/program_files.h"

// The main window's handle is not here: the warnings and the fatal path below this floor
// need it too, so it is kept once, by MainWindowHandle().
struct ClockState {
  HINSTANCE instance;
  char productName[kTextSize];
  HMENU mainMenu;    // kept while the menu bar is detached
  HMENU systemMenu;
  // The setting keys of the window's place and size, loaded once.
  char keyWidth[kTextSize];
  char keyHeight[kTextSize];
  char keyX[kTextSize];
  char keyY[kTextSize];
  Location location;  // the current Location, which every tick reads
  wchar_t helpPath[kPathSize];
  int choice[kChoiceCount];  // each saved choice's value, by ChoiceId
};

extern ClockState g_clock;

// The time scale shown now.
inline int ShownTimeKind() { return g_clock.choice[kChoiceTime]; }

// A minimised window gets no repaint: after a change of what it shows, its caption is
// written again at once instead of when the minute changes.
void RewriteMinimisedCaption(HWND window);
