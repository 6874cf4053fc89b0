// The real platform hooks on Windows. Win32.
#pragma once

#include <windows.h>

// Fills `table` (256 entries) with the bytes of the character each byte begins in
// `codePage`: 2 for the lead bytes GetCPInfo gives, the UTF-8 lengths for CP_UTF8, else 1.
void FillAnsiCharBytes(UINT codePage, unsigned char *table);

// Installs the Win32 hooks; strings are loaded from `instance`'s resources.
void InstallWin32Hooks(HINSTANCE instance);

// The main window: its timer is what a fatal report stops, and it owns the program's
// warnings. None before it exists.
void SetMainWindowHandle(HWND window);
HWND MainWindowHandle();
