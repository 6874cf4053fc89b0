/* A DLL put beside ZORKEL.EXE under a system DLL's name (dwmapi.dll): loaded by any process,
   it leaves PLANTED.TXT beside itself. Win32, for the end-to-end tests only. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  WCHAR path[MAX_PATH + 12];
  DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH || n == 0 || n >= MAX_PATH) return TRUE;
  while (n > 0 && path[n - 1] != L'\\') --n;
  lstrcpynW(path + n, L"PLANTED.TXT", 12); /* 12 characters of room past MAX_PATH */
  CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  return TRUE;
}
