// Files beside the executable, and the busy cursor. Win32.
#include "support/program_files.h"

#include <windows.h>

#include <cstring>

#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"

namespace {

HCURSOR g_savedCursor = nullptr;

}  // namespace

void BuildProgramPath(const char *name, char *out) {
  char exeName[kTextSize];
  LoadText(IDS_EXE_NAME, exeName);
  char path[kPathSize] = "";
  // When the module is not called ZORKEL.EXE (a renamed copy, a test), the running
  // executable itself is the file asked for.
  const DWORD length = GetModuleFileNameA(GetModuleHandleA(exeName), path, kPathSize);
  // A path that did not fit was cut short; it would name the wrong directory.
  if (length >= static_cast<DWORD>(kPathSize)) path[0] = '\0';
  char *lastBackslash = std::strrchr(path, '\\');
  FAIL_IF(lastBackslash == nullptr, IDS_FATAL_CAPTION);
  lastBackslash[1] = '\0';
  FAIL_IF(std::strlen(path) + std::strlen(name) >= 1024, IDS_FATAL_CAPTION);
  std::snprintf(out, kPathSize, "%s%s", path, name);
}

std::FILE *OpenProgramFile(const char *name, const char *mode) {
  char path[kPathSize];
  BuildProgramPath(name, path);
  return std::fopen(path, mode);
}

void SetBusyCursor(int on) {
  if (on != 0) {
    g_savedCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ShowCursor(TRUE);
  } else {
    ShowCursor(FALSE);
    SetCursor(g_savedCursor);
  }
}
