// Helpers of the in-process Win32 tests.
#include "win32_test_support.h"

#include <cstdio>
#include <cstring>

#include "../core/fake_platform.h"
#include "../core/test_files.h"
#include "support/clock_timer.h"
#include "support/win32_hooks.h"

namespace {

bool g_useFakeClock = false;
double (*g_realDaylightHours)() = nullptr;

double ReadTestDaylightHours() {
  return g_useFakeClock ? ReadFakeDaylightHours() : g_realDaylightHours();
}

void ReadTestClock(CivilTime *now) {
  if (g_useFakeClock) {
    ReadFakeClock(now);
    return;
  }
  SYSTEMTIME st;
  GetLocalTime(&st);
  *now = CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

void ReadTestUniversalTime(CivilTime *now) {
  if (g_useFakeClock) {
    ReadFakeUniversalTime(now);
    return;
  }
  SYSTEMTIME st;
  GetSystemTime(&st);
  *now = CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// In a child, every box is printed for the parent to read, then answered OK.
int PrintBox(void *owner, const char *text, const char *caption, unsigned style) {
  // Whether the clock's timer still runs while the box is up (killing it tells).
  if (MainWindowHandle() != nullptr) {
    std::printf("TIMER %s\n", KillTimer(MainWindowHandle(), kClockTimerId) ? "running" : "stopped");
  }
  std::printf("BOX|%s|%s|%x|%s\n", caption, text, style, owner == nullptr ? "noowner" : "owner");
  std::fflush(stdout);
  return kAnswerOk;
}

}  // namespace

std::string ExeFolder() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  char *slash = std::strrchr(self, '\\');
  if (slash != nullptr) slash[1] = '\0';
  return self;
}

std::string PathBeside(const char *name) { return ExeFolder() + name; }

bool FileExists(const char *name) {
  return GetFileAttributesA(PathBeside(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBeside(const char *name) {
  std::string bytes;
  return ReadWholeFile(PathBeside(name).c_str(), &bytes) ? bytes : "<missing>";
}

void WriteFileBeside(const char *name, const std::string &bytes) {
  std::FILE *f = std::fopen(PathBeside(name).c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void DeleteBeside(const char *name) {
  const std::string path = PathBeside(name);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
}

void DeleteAllSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Corvanta\\Orvane 2");
}

std::string StoredSetting(const char *key) {
  std::string path = std::string("Software\\Corvanta\\Orvane 2\\") + key;
  HKEY handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) {
    return "<absent>";
  }
  char value[512] = "";
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  const LONG r = RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
  RegCloseKey(handle);
  if (r != ERROR_SUCCESS) return "<absent>";
  return value;
}

void StoreRawSetting(const char *key, DWORD type, const void *data, DWORD size) {
  std::string path = std::string("Software\\Corvanta\\Orvane 2\\") + key;
  HKEY handle;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(handle, nullptr, 0, type, static_cast<const BYTE *>(data), size);
  RegCloseKey(handle);
}

ChildResult RunChild(const char *name) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &inherit, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string commandLine = std::string("\"") + self + "\" --child=" + name;
  PROCESS_INFORMATION process = {};
  ChildResult result = {9999, ""};
  if (!CreateProcessA(self, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    return result;
  }
  CloseHandle(writeEnd);
  char buffer[512];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, 30000);
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Text-mode output on Windows ends its lines in CR LF.
  std::string clean;
  for (char c : result.output) if (c != '\r') clean.push_back(c);
  result.output = clean;
  return result;
}

void InstallTestHooks() {
  InstallWin32Hooks(GetModuleHandleA(nullptr));
  g_platform.readLocalTime = ReadTestClock;
  g_platform.readUniversalTime = ReadTestUniversalTime;
  g_realDaylightHours = g_platform.readDaylightHours;
  g_platform.readDaylightHours = ReadTestDaylightHours;
  g_platform.beep = CountBeep;
  g_platform.messageBox = RecordBox;
}

void PrintBoxesForParent() { g_platform.messageBox = PrintBox; }

void UseFakeClock(bool fake) { g_useFakeClock = fake; }

std::vector<COLORREF> ReadPixels(HDC source, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HDC copy = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> pixels;
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    // A DIB pixel is 0x00RRGGBB; a COLORREF 0x00BBGGRR.
    const DWORD *pixel = static_cast<const DWORD *>(bits);
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int i = 0; i < width * height; ++i) {
      pixels.push_back(RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF));
    }
    SelectObject(copy, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(copy);
  return pixels;
}

// A system call made to fail: the shell is linked into this program, so its calls to the
// system go through this program's import table, where one entry is replaced. That is the
// seam: the shell's code runs unchanged and meets the failure where Windows would give it.
const void *ReplaceImport(const char *dll, const char *function, const void *replacement) {
  BYTE *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
  const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
  const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
       d->Name != 0; ++d) {
    if (lstrcmpiA(reinterpret_cast<const char *>(base + d->Name), dll) != 0) continue;
    const auto *names = reinterpret_cast<const IMAGE_THUNK_DATA *>(base + d->OriginalFirstThunk);
    auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto *byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char *>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      const void *previous = reinterpret_cast<const void *>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return previous;
    }
  }
  return nullptr;
}
