// The real platform hooks on Windows. Win32.
#pragma once

#include <windows.h>

// Installs the Win32 hooks; strings are loaded from `instance`'s resources.
void InstallWin32Hooks(HINSTANCE instance);

// The main window: its timer is what a fatal report stops, and it owns the program's
// warnings. None before it exists.
void SetMainWindowHandle(HWND window);
HWND MainWindowHandle();
