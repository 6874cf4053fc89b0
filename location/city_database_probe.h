// For tests: how the city files are opened, and another way to open them. Nothing in the
// program calls these. Win32.
#pragma once

#include <cstdio>

// How the city files are opened (the default of SetCityFileOpener): ZORKEL.DAT for reading,
// waiting a moment when another program holds it; the new copy, opened with "w", for this
// writer alone until it has been put in place, so that two clocks saving at once cannot
// write into one file.
std::FILE *OpenCityFile(const char *name, const char *mode);

// How loading and saving open their files: OpenCityFile, unless a test puts another here.
using ProgramFileOpener = std::FILE *(*)(const char *name, const char *mode);
void SetCityFileOpener(ProgramFileOpener opener);
