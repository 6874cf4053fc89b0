// The program's own help engine, with the contract of the Windows help engine: release the
// file (HELP_QUIT), show its topics (HELP_FINDER), find a topic by keyword (HELP_KEY) and
// help on help (HELP_HELPONHELP). The help window is a window of the program: a list of the
// topics beside the text of the chosen one. Win32.
#pragma once

#include <windows.h>

// Carries out one help request for `owner` on the help file `path`. FALSE only when the
// request is not one of the four above or the help window cannot be made; a missing or
// unreadable file is shown as a message in the window.
BOOL ShowHelp(HWND owner, const char *path, UINT command, ULONG_PTR data);

// For tests: the help window (null when closed) and the id of the topic it shows.
HWND HelpWindowHandle();
const char *ShownHelpTopic();  // "" when it shows a message
