// The entry point of ZORKEL.EXE: installs the real platform hooks and runs the clock. Win32.
#include <windows.h>

#include "shell/main_window.h"
#include "support/win32_hooks.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  InstallWin32Hooks(instance);
  return RunClock(instance, showCommand);
}
