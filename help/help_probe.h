// What tests and benchmarks look at inside the help window: its controls by id, the page it
// shows and how it is laid out. Nothing in the program calls these. Win32.
#pragma once

#include <windows.h>

#include "help/help_layout.h"

// The controls of the help window that tests reach by id.
enum { kHelpContentsButtonId = 101, kHelpIndexButtonId = 102, kHelpBackButtonId = 103, kHelpSearchBoxId = 104 };

// For tests: the help window (null when closed), the id of the topic it shows ("(index)",
// "(search)", or "" for a message), its text view, the layout shown and the focused link.
HWND HelpWindowHandle();
const char *ShownHelpTopic();
HWND HelpTextView();
const HelpLayout *ShownHelpLayout();
const HelpLayoutMetrics *ShownHelpMetrics();
int FocusedHelpLink();
// The same of a help text view: null (-1) for a window that is not one.
const HelpLayout *HelpViewLayout(HWND view);
const HelpLayoutMetrics *HelpViewMetrics(HWND view);
int HelpViewFocusedLink(HWND view);
