// The entry point of ZORKEL.EXE: installs the real platform hooks and runs the clock. Win32.
#include <windows.h>

#include <commctrl.h>

#include "shell/main_window.h"
#include "support/system_library.h"
#include "support/win32_hooks.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Before anything loads a DLL of its own accord: none from the exe's folder.
  KeepDllsToTheSystemFolder();
  // The manifest asks for the version 6 common controls: load them before any dialog.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  InstallWin32Hooks(instance);
  return RunClock(instance, showCommand);
}
