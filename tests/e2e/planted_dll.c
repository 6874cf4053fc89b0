/* A stand-in for a DLL that someone put beside ZORKEL.EXE under the name of a system DLL
   (dwmapi.dll): when any process loads it, it leaves PLANTED.TXT beside itself, so a test
   sees whether the clock ever loaded it. Win32, for the end-to-end tests only. */
#include <windows.h>

static void LeaveMark(HINSTANCE self) {
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  while (length > 0 && path[length - 1] != L'\\') --length;
  if (length + 12 >= MAX_PATH) return;
  lstrcpynW(path + length, L"PLANTED.TXT", MAX_PATH - length);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, "loaded\r\n", 8, &written, NULL);
  CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMark(self);
  return TRUE;
}

/* What the clock asks of the real one; and an entry for rundll32, which the test uses to
   show that loading this file does leave the mark. */
__declspec(dllexport) HRESULT WINAPI DwmSetWindowAttribute(HWND window, DWORD attribute,
                                                           LPCVOID value, DWORD size) {
  (void)window, (void)attribute, (void)value, (void)size;
  return S_OK;
}
__declspec(dllexport) void CALLBACK Touch(HWND window, HINSTANCE instance, LPSTR line, int show) {
  (void)window, (void)instance, (void)line, (void)show;
}
