// The program's own help engine, with the contract of the Windows help engine: release the
// file (HELP_QUIT), show its index (HELP_FINDER), find a topic by keyword (HELP_KEY) and
// help on help (HELP_HELPONHELP). The help window, owned by the clock, shows one page at a
// time, drawn by the program: a topic, the keyword index or a search's result. Win32.
#pragma once

#include <windows.h>

// Carries out one help request for `owner` on the help file at the wide `path`. FALSE only when the
// request is not one of the four above or the help window cannot be made; a missing or
// unreadable file is shown as a message in the window.
BOOL ShowHelp(HWND owner, const wchar_t *path, UINT command, ULONG_PTR data);

// The message loop offers every message here before the clock's accelerators: true when it
// belonged to the help window and has been handled, so the clock's keys never see it.
bool HandleHelpWindowMessage(MSG *message);
