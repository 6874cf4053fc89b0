// Optional functions of Windows' own DLLs, looked up at run time so that the program still
// starts on systems that lack them, and DLLs taken from the system folder only. Win32.
#pragma once

#include <windows.h>

// Tells Windows to load this process's DLLs from the system folder alone, so that a DLL
// planted beside the exe (a downloads folder, a folder the user can write) is never
// loaded. Called first thing at start-up; does nothing on systems without
// SetDefaultDllDirectories.
void KeepDllsToTheSystemFolder();

// The function `name` of the system DLL `dll` ("dwmapi.dll"), loaded from the system folder
// and never from anywhere else; null when the DLL or the function is not there. A DLL once
// loaded stays for the life of the process.
FARPROC SystemFunction(const char *dll, const char *name);

// The same, as a pointer of the function's own type.
template <typename Function>
Function SystemCall(const char *dll, const char *name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemFunction(dll, name)));
}
