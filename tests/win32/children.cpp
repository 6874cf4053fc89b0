// Scenarios run in a child process, for paths that end the process or need another
// process's view of the system.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dialogs/about.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/errors.h"
#include "support/program_files.h"
#include "support/settings.h"
#include "support/win32_hooks.h"
#include "win32_test_support.h"

namespace {

void ReadLongKey() {
  const std::string key(1100, 'k');
  ReadSettingInt(key.c_str(), 0);
}

void WriteLongKey() {
  const std::string key(1100, 'k');
  WriteSetting(key.c_str(), "1");
}

void IniSettings() {
  std::printf("WIN32S %d\n", IsWin32s() ? 1 : 0);
  WriteSetting("Time", "3");
  std::printf("READ %d\n", ReadSettingInt("Time", 0));
  const std::string eightyOne(81, '5');
  WriteSetting("Width", eightyOne.c_str());
  char text[81];
  ReadSetting("Width", text);
  std::printf("CUT %u\n", static_cast<unsigned>(std::strlen(text)));
  WriteSetting("Time", nullptr);  // leave the INI file as it was
  WriteSetting("Width", nullptr);
  std::fflush(stdout);
  ExitProcess(0);
}

// A window with the clock's timer running; the box hook prints whether it still runs.
LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

void FailWithTimerRunning() {
  WNDCLASSA c = {};
  c.lpfnWndProc = PlainWindowProc;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = "OrvaneChildWindow";
  RegisterClassA(&c);
  HWND w = CreateWindowA("OrvaneChildWindow", "child", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, c.hInstance, nullptr);
  SetMainWindowHandle(w);
  SetTimer(w, 1, 1000, nullptr);
  std::fflush(stdout);
  FailIf(1, IDS_WINDOW_ERROR, "clock", 42);
}

void PathTooLong(size_t total) {
  char path[kPathSize];
  BuildProgramPath("", path);  // the folder alone
  const std::string name(total - std::strlen(path), 'n');
  BuildProgramPath(name.c_str(), path);
  std::printf("PATH %u\n", static_cast<unsigned>(std::strlen(path)));
  std::fflush(stdout);
  ExitProcess(0);
}

void Path1023() { PathTooLong(1023); }
void Path1024() { PathTooLong(1024); }

// The real main window, running, with a changed city table: a fatal failure must end the
// process without offering the save or storing the geometry.
void FailInMainWindow() {
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  HWND w = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
  char name[81] = "Quito";
  StoreCity(0, name, 78, 30, 0, kWest, -5.0, 0);
  std::fflush(stdout);
  FAIL_IF(true, IDS_GDI_ERROR);
}

// A tick whose next tick cannot be armed (the window is gone, so SetTimer fails).
void TickWithoutTimer() {
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  HWND w = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  DestroyWindow(w);
  std::fflush(stdout);
  MainWindowProc(w, WM_TIMER, 1, 0);
}

// On a 640 x 480 screen (a Wine virtual desktop of that size), where a 200 x 100 window goes
// when centred. The answer goes to a file: a program on another desktop has no console.
void CentreOn640() {
  HWND w = CreateWindowExA(0, "STATIC", "centre me", WS_POPUP, 0, 0, 200, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  CenterWindowOnScreen(w);
  RECT r;
  GetWindowRect(w, &r);
  std::FILE *f = std::fopen(PathBeside("CENTRE.TXT").c_str(), "w");
  if (f != nullptr) {
    std::fprintf(f, "screen %d %d at %ld %ld\n", GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN), r.left, r.top);
    std::fclose(f);
  }
  ExitProcess(0);
}

}  // namespace

void HelpOpenCloseCycles();  // help_window_test.cpp

const ChildScenarioEntry kChildScenarios[] = {
    {"read-long-key", ReadLongKey},
    {"write-long-key", WriteLongKey},
    {"ini-settings", IniSettings},
    {"fail-with-timer", FailWithTimerRunning},
    {"path-1023", Path1023},
    {"path-1024", Path1024},
    {"fail-in-main-window", FailInMainWindow},
    {"centre-on-640", CentreOn640},
    {"tick-without-timer", TickWithoutTimer},
    {"help-open-close", HelpOpenCloseCycles},
    {nullptr, nullptr},
};
