// Files beside the executable, waiting out a file held by another program, and the busy
// cursor. Win32.
#include "support/program_files.h"

#include <windows.h>

#include <cwchar>

#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/held_file.h"
#include "support/hooks.h"
#include "support/program_files_probe.h"

namespace {

HCURSOR g_savedCursor = nullptr;

FileRefusal RefusalOf(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileRefusal::kHeld;
    case ERROR_ACCESS_DENIED:
      return FileRefusal::kAccessDenied;
    default:
      return FileRefusal::kOther;
  }
}

// A read-only file or a directory in the file's place refuses access for good.
bool IsProtectedForGood(const wchar_t *path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

}  // namespace

void BuildProgramPath(const char *name, wchar_t *out) {
  char exeName[kTextSize];
  LoadText(IDS_EXE_NAME, exeName);
  wchar_t path[kPathSize] = L"";
  // When the module is not called ZORKEL.EXE (a renamed copy, a test), the running
  // executable itself is the file asked for.
  const DWORD length = GetModuleFileNameW(GetModuleHandleA(exeName), path, kPathSize);
  // A path that did not fit was cut short; it would name the wrong directory.
  if (length >= static_cast<DWORD>(kPathSize)) path[0] = L'\0';
  wchar_t *lastBackslash = std::wcsrchr(path, L'\\');
  FAIL_IF(lastBackslash == nullptr, IDS_FATAL_CAPTION);
  lastBackslash[1] = L'\0';
  const std::size_t folder = std::wcslen(path);
  wchar_t wideName[kPathSize] = L"";
  const int nameLength = MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, kPathSize);
  FAIL_IF(nameLength <= 0 || folder + static_cast<std::size_t>(nameLength - 1) >= 1024,
          IDS_FATAL_CAPTION);
  std::wmemcpy(out, path, folder);
  std::wmemcpy(out + folder, wideName, static_cast<std::size_t>(nameLength));
}

std::FILE *OpenProgramFile(const char *name, const char *mode) {
  wchar_t path[kPathSize];
  BuildProgramPath(name, path);
  wchar_t wideMode[8] = L"";
  for (int i = 0; i < 7 && mode[i] != '\0'; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(path, wideMode);
}

bool RetryWhileHeld(bool (*attempt)(void *context), void *context, const wchar_t *path) {
  int waited = 0;
  for (;;) {
    if (attempt(context)) return true;
    const DWORD error = GetLastError();
    const FileRefusal refusal = RefusalOf(error);
    const bool fixed = refusal == FileRefusal::kAccessDenied && IsProtectedForGood(path);
    const int delay = HeldFileRetryDelay(refusal, fixed, waited);
    if (delay < 0) {
      SetLastError(error);
      return false;
    }
    Sleep(static_cast<DWORD>(delay));
    waited += delay;
  }
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
