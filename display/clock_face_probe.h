// What tests read inside the clock face: the text and font of the last update. Nothing in the
// program calls these. Win32.
#pragma once

#include <windows.h>

// The text the last update showed (full, or minimised when the window was minimised).
const char *LastClockText();

// The font now in use, how many fonts were made so far and the description of the last one.
HFONT CurrentClockFont();
int ClockFontsMade();
LOGFONTA LastClockFontDescription();
