// Scenarios run in a child process, for paths that end the process or need another
// process's view of the system.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dialogs/about.h"
#include "dialogs/fields.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/errors.h"
#include "support/program_files.h"
#include "support/settings.h"
#include "support/settings_probe.h"
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
  wchar_t path[kPathSize];
  BuildProgramPath("", path);  // the folder alone
  const std::string name(total - std::wcslen(path), 'n');
  BuildProgramPath(name.c_str(), path);
  std::printf("PATH %u\n", static_cast<unsigned>(std::wcslen(path)));
  std::fflush(stdout);
  ExitProcess(0);
}

void Path1023() { PathTooLong(1023); }
void Path1024() { PathTooLong(1024); }

HDC WINAPI NoPaintDc(HWND, LPPAINTSTRUCT) { return nullptr; }
HDC WINAPI NoWindowDc(HWND) { return nullptr; }
int WINAPI DcNotReleased(HWND, HDC) { return 0; }
HFONT WINAPI NoFont(const LOGFONTA *) { return nullptr; }
BOOL WINAPI NotDeleted(HGDIOBJ) { return FALSE; }
UINT_PTR WINAPI NoTimer(HWND, UINT_PTR, UINT, TIMERPROC) { return 0; }

// The real main window, running and painted, with a changed city table; then one system
// call fails inside one message (WM_CREATE: while the window is made). The process must end
// there, offering no save and storing no geometry.
void FailInsideMessage(const char *dll, const char *function, const void *replacement, UINT message) {
  if (message == WM_CREATE && !ReplaceImport(dll, function, replacement)) {
    std::printf("NOT IMPORTED %s\n", function);
  }
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  HWND w = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
  if (message == WM_CREATE) return;  // it should have ended already
  char name[81] = "Quito";
  StoreCity(0, name, 78, 30, 0, kWest, -5.0, 0);
  if (std::strcmp(function, "CreateFontIndirectA") == 0) SendMessageA(w, WM_SIZE, 0, 0);  // no font
  if (message != WM_CREATE && !ReplaceImport(dll, function, replacement)) {
    std::printf("NOT IMPORTED %s\n", function);
  }
  std::fflush(stdout);
  if (message == WM_PAINT) {
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
  } else {
    SendMessageA(w, message, message == WM_TIMER ? 1 : 0, 0);
  }
}

// A tick whose next tick cannot be armed (the window is gone, so SetTimer fails).
void TickWithoutTimer() {
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  HWND w = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  DestroyWindow(w);
  std::fflush(stdout);
  MainWindowProc(w, WM_TIMER, 1, 0);
}
void FailBeginPaint() { FailInsideMessage("user32.dll", "BeginPaint", reinterpret_cast<const void *>(NoPaintDc), WM_PAINT); }
void FailFont() { FailInsideMessage("gdi32.dll", "CreateFontIndirectA", reinterpret_cast<const void *>(NoFont), WM_PAINT); }
void FailGetDc() { FailInsideMessage("user32.dll", "GetDC", reinterpret_cast<const void *>(NoWindowDc), WM_TIMER); }
void FailReleaseDc() { FailInsideMessage("user32.dll", "ReleaseDC", reinterpret_cast<const void *>(DcNotReleased), WM_TIMER); }
void FailSetTimer() { FailInsideMessage("user32.dll", "SetTimer", reinterpret_cast<const void *>(NoTimer), WM_CREATE); }
void FailDeleteFont() { FailInsideMessage("gdi32.dll", "DeleteObject", reinterpret_cast<const void *>(NotDeleted), WM_SIZE); }
void FailSetTimerInTick() { FailInsideMessage("user32.dll", "SetTimer", reinterpret_cast<const void *>(NoTimer), WM_TIMER); }

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

// A field's warning while which the focus leaves this thread's windows, as when another
// program takes it (Windows then leaves the thread no focus at all, and SetFocus returns no
// previous window), or while which a hook starts refusing every focus change.
bool g_refuseFocus = false;
bool g_refuseAfterWarning = false;
int (*g_printBox)(void *, const char *, const char *, unsigned) = nullptr;

LRESULT CALLBACK RefuseFocus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_SETFOCUS && g_refuseFocus) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int TakeFocusAway(void *owner, const char *text, const char *caption, unsigned style) {
  g_refuseFocus = false;
  SetFocus(nullptr);
  g_refuseFocus = g_refuseAfterWarning;
  return g_printBox(owner, text, caption, style);
}

void FieldErrorWithoutFocus(bool refuse) {
  HWND dialog = CreateWindowA("STATIC", "fields", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND field = CreateWindowA("EDIT", "abc", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, dialog,
                             reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
  SetFocus(field);
  SetWindowsHookExA(WH_CBT, RefuseFocus, nullptr, GetCurrentThreadId());
  g_refuseAfterWarning = refuse;
  g_printBox = g_platform.messageBox;
  g_platform.messageBox = TakeFocusAway;
  ShowFieldError(dialog, 7, IDS_INVALID_NUMBER, 1);
  DWORD from = 1, to = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  std::printf("FOCUS %s %lu-%lu\n", GetFocus() == field ? "field" : "elsewhere", from, to);
  std::fflush(stdout);
  ExitProcess(0);
}
void FieldErrorFocusTaken() { FieldErrorWithoutFocus(false); }
void FieldErrorFocusRefused() { FieldErrorWithoutFocus(true); }

}  // namespace

void HelpOpenCloseCycles();  // help_window_test.cpp

const ChildScenarioEntry kChildScenarios[] = {
    {"read-long-key", ReadLongKey},
    {"write-long-key", WriteLongKey},
    {"ini-settings", IniSettings},
    {"fail-with-timer", FailWithTimerRunning},
    {"path-1023", Path1023},
    {"path-1024", Path1024},
    {"fail-begin-paint", FailBeginPaint},
    {"fail-font", FailFont},
    {"fail-get-dc", FailGetDc},
    {"fail-release-dc", FailReleaseDc},
    {"fail-delete-font", FailDeleteFont},
    {"fail-set-timer", FailSetTimer},
    {"fail-set-timer-in-tick", FailSetTimerInTick},
    {"centre-on-640", CentreOn640},
    {"tick-without-timer", TickWithoutTimer},
    {"help-open-close", HelpOpenCloseCycles},
    {"field-error-focus-taken", FieldErrorFocusTaken},
    {"field-error-focus-refused", FieldErrorFocusRefused},
    {nullptr, nullptr},
};
