// Loading Windows' own DLLs from the system folder only, and looking up their optional
// functions. Win32.
#include "support/system_library.h"

namespace {

// Not in every SDK's headers; the values are Windows' own.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

HMODULE LoadFromSystemFolder(const char *dll) {
  HMODULE module = LoadLibraryExA(dll, nullptr, kSearchSystem32);
  // Windows without the update that brought the search flags (Vista, and 7 before
  // KB2533623) refuses the flag as an invalid parameter: name the file by its full path in
  // the system folder instead, and let the DLLs it needs come from beside it.
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  WCHAR path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 2 >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  const int room = static_cast<int>(MAX_PATH - length - 1);
  if (MultiByteToWideChar(CP_ACP, 0, dll, -1, path + length + 1, room) == 0) return nullptr;
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void KeepDllsToTheSystemFolder() {
  using SetDirectories = BOOL(WINAPI *)(DWORD);
  const SetDirectories set = SystemCall<SetDirectories>("kernel32.dll", "SetDefaultDllDirectories");
  if (set != nullptr) set(kSearchSystem32);
}

FARPROC SystemFunction(const char *dll, const char *name) {
  HMODULE module = LoadFromSystemFolder(dll);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
