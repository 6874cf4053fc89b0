// The program's own files, which always lie beside ZORKEL.EXE, and the busy cursor. Win32.
#pragma once

#include <cstdio>

// Room for any path BuildProgramPath makes (1023 characters and the terminator, and one spare).
constexpr int kPathSize = 1025;

// The full path of `name` in the executable's directory. An executable path without a
// backslash, or a result of 1024 characters or more, is fatal.
void BuildProgramPath(const char *name, char *out);

// Opens `name` beside the executable with a standard stream mode; null when it cannot.
std::FILE *OpenProgramFile(const char *name, const char *mode);

// The hourglass for a long operation: on, then off; not nested.
void SetBusyCursor(int on);
