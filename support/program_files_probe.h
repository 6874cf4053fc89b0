// For tests: opening a file beside the executable as a plain stream. Nothing in the program
// calls it. Win32.
#pragma once

#include <cstdio>

// Opens `name` beside the executable with a standard stream mode; null when it cannot.
std::FILE *OpenProgramFile(const char *name, const char *mode);
