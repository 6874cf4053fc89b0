// The system's menu font and menu sizes at a given DPI, for the menus the clock draws
// itself at night. Win32.
#pragma once

#include <windows.h>

// What an owner-drawn menu item is measured and drawn with, all at one DPI.
struct MenuMetrics {
  int dpi;
  HFONT font;      // the system's menu font at that DPI (null when none could be made)
  int barHeight;   // the height of the menu bar (SM_CYMENU)
  int checkWidth;  // the room for a check mark (SM_CXMENUCHECK)
  int padding;     // added to the font's height for an item of a menu (two edges)
};

// The DPI `window` is shown at now: its monitor's where the system scales per monitor, else
// the screen's.
int MenuWindowDpi(HWND window);

// Fills `metrics` for `dpi`, deleting the font it held; `metrics` starts zeroed.
void MakeMenuMetrics(int dpi, MenuMetrics *metrics);
void FreeMenuMetrics(MenuMetrics *metrics);
