// The colours of Night Colours, the same in every window of the clock: its face, the dialogs,
// the help and the menus. Win32.
#pragma once

#include <windows.h>

// Red on black, nothing green or blue: eyes used to the dark keep their adaptation. The ink
// is dim enough not to dazzle them and bright enough to read.
constexpr COLORREF kNightInk = RGB(160, 0, 0);
constexpr COLORREF kNightBright = RGB(208, 0, 0);    // links, chosen items
constexpr COLORREF kNightDim = RGB(96, 0, 0);        // greyed text, lines
constexpr COLORREF kNightSelection = RGB(64, 0, 0);  // behind a chosen item
constexpr COLORREF kNightPaper = RGB(0, 0, 0);
