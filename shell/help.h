// The program's own help engine, with the contract of the Windows help engine: release the
// file (HELP_QUIT), show its topics (HELP_FINDER), find a topic by keyword (HELP_KEY) and
// help on help (HELP_HELPONHELP). Win32.
#pragma once

#include <windows.h>

// Carries out one help request for `owner` on the help file `path`; FALSE when refused.
BOOL ShowHelp(HWND owner, const char *path, UINT command, ULONG_PTR data);
