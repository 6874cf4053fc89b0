// Helpers of the in-process Win32 tests: the folder of the test exe copy, files in it, the
// settings key, and child processes for paths that end the process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/hooks.h"

// The folder the test exe copy runs from (ends in a backslash): ZORKEL.DAT lives here.
std::string ExeFolder();
std::string PathBeside(const char *name);

bool FileExists(const char *name);
std::string ReadFileBeside(const char *name);  // binary, whole
void WriteFileBeside(const char *name, const std::string &bytes);
void DeleteBeside(const char *name);  // a file or an empty folder

// Removes HKCU\Software\Corvanta\Orvane 2 and everything under it.
void DeleteAllSettings();
// The default value of the settings key `key`, or "<absent>".
std::string StoredSetting(const char *key);
// Stores an arbitrary value (type and bytes) as the key's default value.
void StoreRawSetting(const char *key, DWORD type, const void *data, DWORD size);

struct ChildResult {
  DWORD exitCode;
  std::string output;  // what the child printed: one "BOX|caption|text|style" line per box
};
// Runs this test program again with --child=NAME and waits for it.
ChildResult RunChild(const char *name);

// The top-left width x height pixels of a device context, row by row from the top.
std::vector<COLORREF> ReadPixels(HDC source, int width, int height);

// The hooks the in-process tests run with: the real Win32 ones, except that message boxes
// are recorded (g_fake.boxes), beeps counted and the clock read from g_fake.now when asked
// (UTC then g_fake.now less g_fake.computerZoneSeconds).
void InstallTestHooks();
void UseFakeClock(bool fake);
// In a child: every box is printed to stdout for the parent instead of recorded.
void PrintBoxesForParent();

// Puts `replacement` in this program's import table in place of `function` of `dll`, which
// the shell's calls then reach; returns what was there (to put back), or null when the
// program does not import it.
const void *ReplaceImport(const char *dll, const char *function, const void *replacement);

// Child scenarios: functions that end the process. Registered by name.
using ChildScenario = void (*)();
struct ChildScenarioEntry {
  const char *name;
  ChildScenario run;
};
extern const ChildScenarioEntry kChildScenarios[];
