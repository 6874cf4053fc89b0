// orvctl: drives a running ZORKEL.EXE from another process, as a user or a script would:
// waits for its window, reads its caption and place, types keys, chooses commands, closes
// it, and reads the clock's registry settings. Win32 (runs under Wine in the tests).
//
//   orvctl wait [SECONDS]      wait for the clock's window; print its caption
//   orvctl caption             print the caption
//   orvctl rect                print the window rectangle: left top right bottom
//   orvctl key NAME...         type keys (F1..F12) into the clock
//   orvctl command ID          choose a menu command;  orvctl syscommand ID: a system command
//   orvctl show minimize|restore
//   orvctl move X Y WIDTH HEIGHT   place the window as a user dragging it would
//   orvctl close [SECONDS]     send WM_CLOSE and wait until the window is gone
//   orvctl setting KEY         print a stored setting ("" when absent)
//   orvctl find-window CAPTION print the handle of a top-level window with that caption
//   orvctl dialog CAPTION rect         print a dialog's rectangle (waits for it to open)
//   orvctl dialog CAPTION set ID TEXT  set a control's text
//   orvctl dialog CAPTION type TEXT    type a name into the Location box, key by key
//   orvctl dialog CAPTION click ID     press a button
//   orvctl dialog CAPTION check ID 0|1 tick or clear a check box
//   orvctl dialog CAPTION text ID      print a control's text
//   orvctl window CAPTION rect|close   another top-level window of the clock (the help)
//   orvctl window CAPTION place X Y W H   moves and sizes it
//   orvctl window CAPTION search TEXT     the help window: search for TEXT
//   orvctl window CAPTION view-key tab|enter|back   a key in the help window's text
//   orvctl accessible [CAPTION]   print the name and value a screen reader reads on the clock
//                              and the computer's UTC when the name came (seconds since 1970)
//                              (or on the text of its window CAPTION, the help)
//   orvctl accessible-after-close CAPTION   take the text's object, close CAPTION, ask the
//                              object its name again and print the answer's HRESULT
//   orvctl time-to-paint EXE   start EXE; print the milliseconds until its window shows and
//                              until dark text first shows in it; then close it
//   orvctl tick-lag SECONDS [SCALE [LONGITUDE [DUT1]]]   watch the clock's shown seconds for
//                              SECONDS, reading its pixels back every few ms, and report each
//                              change against the computer's clock: lag median, 99th
//                              percentile and worst, and the seconds skipped or shown twice.
//                              SCALE gst, lst, gast or last: against the sidereal second of
//                              the clock's formula instead (mean, or apparent for gast and
//                              last), at LONGITUDE degrees east (lst, last) with DUT1 in ms
//   orvctl tick-lag SECONDS OFFSET   solar, against the computer's clock plus OFFSET
//                              seconds (a time server's, which the clock may follow)
//   orvctl hold                keep a hidden window open until killed: Wine's desktop process
//                              then stays up, instead of being started (with inherited
//                              output pipes) from inside whichever test next makes a window
//   orvctl clocks              print the window handle of every running clock, one a line
//
// With several clocks running, ORVCTL_CLOCK=HANDLE (as `clocks` prints it) says which one
// the sub-commands on the clock's window drive.
//
// The measurements are in orvctl_measure.cpp. A new sub-command is a function and a row of
// kSubCommands below.
#include <windows.h>

#include <oleacc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/orvctl.h"

namespace {

const char kClass[] = "Orvane 2";

HWND WaitForWindow(const char *className, const char *caption, double seconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  for (;;) {
    HWND w = FindWindowA(className, caption);
    if (w != nullptr && IsWindowVisible(w)) return w;
    if (static_cast<LONG>(GetTickCount() - until) > 0) return nullptr;
    Sleep(50);
  }
}

int VirtualKey(const char *name) {
  if ((name[0] == 'F' || name[0] == 'f') && name[1] != '\0') {
    const int n = std::atoi(name + 1);
    if (n >= 1 && n <= 24) return VK_F1 + n - 1;
  }
  if (std::strcmp(name, "ESC") == 0) return VK_ESCAPE;
  if (std::strcmp(name, "RETURN") == 0) return VK_RETURN;
  if (std::strcmp(name, "TAB") == 0) return VK_TAB;
  return 0;
}

void PrintRect(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

void PrintCaption(HWND w) {
  char caption[256];
  GetWindowTextA(w, caption, sizeof caption);
  std::printf("%s\n", caption);
}

// ---- Sub-commands that need no running clock. `clock` is null for them. ----

int Setting(int, char **argv, HWND) {
  char path[300];
  std::snprintf(path, sizeof path, "Software\\Corvanta\\Orvane 2\\%s", argv[2]);
  char value[256] = "";
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CURRENT_USER, path, value, &size) != ERROR_SUCCESS) value[0] = '\0';
  std::printf("%s\n", value);
  return 0;
}

int FindWindowByCaption(int, char **argv, HWND) {
  HWND w = WaitForWindow(nullptr, argv[2], 10);
  if (w == nullptr) return Fail("no such window");
  std::printf("%p\n", static_cast<void *>(w));
  return 0;
}

int Dialog(int argc, char **argv, HWND) {
  HWND dialog = WaitForWindow("#32770", argv[2], 10);
  if (dialog == nullptr) return Fail("no such dialog");
  const char *action = argv[3];
  if (std::strcmp(action, "rect") == 0) {
    PrintRect(dialog);
  } else if (std::strcmp(action, "set") == 0 && argc == 6) {
    SetDlgItemTextA(dialog, std::atoi(argv[4]), argv[5]);
  } else if (std::strcmp(action, "type") == 0 && argc == 5) {
    HWND edit = FindWindowExA(GetDlgItem(dialog, 115), nullptr, "Edit", nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (const char *c = argv[4]; *c != '\0'; ++c) {
      SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
  } else if (std::strcmp(action, "click") == 0 && argc == 5) {
    const int id = std::atoi(argv[4]);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  } else if (std::strcmp(action, "text") == 0 && argc == 5) {
    char text[2048] = "";
    GetDlgItemTextA(dialog, std::atoi(argv[4]), text, sizeof text);
    std::printf("%s\n", text);
  } else if (std::strcmp(action, "check") == 0 && argc == 6) {
    SendDlgItemMessageA(dialog, std::atoi(argv[4]), BM_SETCHECK,
                        std::atoi(argv[5]) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    return Fail("unknown dialog action");
  }
  return 0;
}

// Any action it does not know closes the window.
int Window(int argc, char **argv, HWND) {
  HWND w = WaitForWindow(nullptr, argv[2], 10);
  if (w == nullptr) return Fail("no such window");
  if (std::strcmp(argv[3], "search") == 0 && argc == 5) {
    // The help window's search box, then its search button (IDOK).
    SendMessageA(FindWindowExA(w, nullptr, "Edit", nullptr), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(argv[4]));
    PostMessageA(w, WM_COMMAND, IDOK, 0);
  } else if (std::strcmp(argv[3], "view-key") == 0 && argc == 5) {
    // A key typed in the help window's text view: tab, enter or back.
    const WPARAM vk = std::strcmp(argv[4], "tab") == 0 ? VK_TAB
                      : std::strcmp(argv[4], "enter") == 0 ? VK_RETURN : VK_BACK;
    HWND view = FindWindowExA(w, nullptr, "Orvane2HelpView", nullptr);
    PostMessageA(view, WM_KEYDOWN, vk, 1);
    PostMessageA(view, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  } else if (std::strcmp(argv[3], "place") == 0 && argc == 8) {
    SetWindowPos(w, nullptr, std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]),
                 std::atoi(argv[7]), SWP_NOZORDER);
  } else if (std::strcmp(argv[3], "rect") == 0) {
    PrintRect(w);
  } else {
    PostMessageA(w, WM_CLOSE, 0, 0);
  }
  return 0;
}

// ---- What a screen reader reads, asked as one does, from another process. ----

// Defined here: MinGW's import library hands out a wrong one.
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The client-area object of the clock, or of the text view of the clock's window `caption`.
IAccessible *AccessibleOf(const char *caption) {
  HWND w = caption == nullptr ? FindClock() : WaitForWindow(nullptr, caption, 10);
  if (w != nullptr && caption != nullptr) w = FindWindowExA(w, nullptr, "Orvane2HelpView", nullptr);
  IAccessible *object = nullptr;
  if (w == nullptr || FAILED(CoInitialize(nullptr)) ||
      FAILED(AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void **>(&object)))) {
    return nullptr;
  }
  return object;
}

// Prints "WHAT: text" in UTF-8; false when the object would not say.
bool PrintAccessibleText(IAccessible *object, bool value) {
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  const HRESULT hr = value ? object->get_accValue(self, &text) : object->get_accName(self, &text);
  if (FAILED(hr) || text == nullptr) return false;
  static char utf8[1 << 16];
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  SysFreeString(text);
  std::printf("%s: %s\n", value ? "value" : "name", n > 0 ? utf8 : "");
  return true;
}

// The computer's UTC now, in seconds since 1970, to the millisecond.
double UnixSecondsNow() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(ticks) / 1e7 - 11644473600.0;
}

int Accessible(int argc, char **argv, HWND) {
  IAccessible *object = AccessibleOf(argc > 2 ? argv[2] : nullptr);
  if (object == nullptr) return Fail("no accessible object");
  const bool named = PrintAccessibleText(object, false);
  // When the name was had (since 1970, UTC), so that a script can set the time read against
  // the moment it was read.
  std::printf("read at: %.3f\n", UnixSecondsNow());
  const bool read = named && PrintAccessibleText(object, true);
  object->Release();
  return read ? 0 : Fail("the object would not say its name and value");
}

int AccessibleAfterClose(int, char **argv, HWND) {
  IAccessible *object = AccessibleOf(argv[2]);
  if (object == nullptr) return Fail("no accessible object");
  HWND w = WaitForWindow(nullptr, argv[2], 1);
  PostMessageA(w, WM_CLOSE, 0, 0);
  for (int i = 0; i < 200 && IsWindow(w); ++i) Sleep(50);
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  const HRESULT hr = object->get_accName(self, &text);
  if (text != nullptr) SysFreeString(text);
  object->Release();
  std::printf("0x%08lx\n", static_cast<unsigned long>(hr));
  return 0;
}

int TimeToPaintCommand(int, char **argv, HWND) { return TimeToPaint(argv[2]); }

int Hold(int, char **, HWND) {
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "orvctl hold", WS_POPUP, 0, 0, 1, 1,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (w == nullptr) return Fail("cannot make a window");
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}

BOOL CALLBACK PrintIfClock(HWND w, LPARAM) {
  char className[64] = "";
  GetClassNameA(w, className, sizeof className);
  if (std::strcmp(className, kClass) == 0 && IsWindowVisible(w)) {
    std::printf("%p\n", static_cast<void *>(w));
  }
  return TRUE;
}

int Clocks(int, char **, HWND) {
  EnumWindows(PrintIfClock, 0);
  return 0;
}

int Wait(int argc, char **argv, HWND) {
  HWND w = WaitForWindow(kClass, nullptr, argc > 2 ? std::atof(argv[2]) : 20);
  if (w == nullptr) return Fail("the clock's window did not appear");
  PrintCaption(w);
  return 0;
}

// ---- Sub-commands on the running clock's window, `clock`. ----

int Caption(int, char **, HWND clock) {
  PrintCaption(clock);
  return 0;
}

int Rect(int, char **, HWND clock) {
  PrintRect(clock);
  return 0;
}

int Key(int argc, char **argv, HWND clock) {
  for (int i = 2; i < argc; ++i) {
    const int vk = VirtualKey(argv[i]);
    if (vk == 0) return Fail("unknown key");
    const UINT down = vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageA(clock, down, static_cast<WPARAM>(vk), 1);
    PostMessageA(clock, up, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
    Sleep(200);
  }
  return 0;
}

int Command(int, char **argv, HWND clock) {
  PostMessageA(clock, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
  return 0;
}

int SysCommand(int, char **argv, HWND clock) {
  PostMessageA(clock, WM_SYSCOMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
  return 0;
}

int Move(int, char **argv, HWND clock) {
  SetWindowPos(clock, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
               std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}


int Show(int, char **argv, HWND clock) {
  ShowWindow(clock, std::strcmp(argv[2], "minimize") == 0 ? SW_MINIMIZE : SW_RESTORE);
  return 0;
}

int Close(int argc, char **argv, HWND clock) {
  DWORD pid = 0;
  GetWindowThreadProcessId(clock, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(clock, WM_CLOSE, 0, 0);
  const DWORD ms = static_cast<DWORD>((argc > 2 ? std::atof(argv[2]) : 20) * 1000);
  if (process != nullptr) {
    const DWORD waited = WaitForSingleObject(process, ms);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) return Fail("the clock did not end");
  }
  return 0;
}

const int kAnyCount = 1 << 30;

// A sub-command runs when its name matches and argc (the program's name and the sub-command's
// included) is within [minArgc, maxArgc]; a name with another count goes on down the table,
// and ends as "the clock is not running" or "unknown command".
struct SubCommand {
  const char *name;
  int minArgc, maxArgc;
  bool needsClock;
  int (*run)(int argc, char **argv, HWND clock);
};

const SubCommand kSubCommands[] = {
    {"setting", 3, 3, false, Setting},
    {"find-window", 3, 3, false, FindWindowByCaption},
    {"dialog", 4, kAnyCount, false, Dialog},
    {"window", 4, kAnyCount, false, Window},
    {"accessible", 3, 3, false, Accessible},
    {"accessible-after-close", 3, 3, false, AccessibleAfterClose},
    {"time-to-paint", 3, 3, false, TimeToPaintCommand},
    {"hold", 2, kAnyCount, false, Hold},
    {"wait", 2, kAnyCount, false, Wait},
    {"clocks", 2, 2, false, Clocks},
    {"caption", 2, kAnyCount, true, Caption},
    {"rect", 2, kAnyCount, true, Rect},
    {"key", 2, kAnyCount, true, Key},
    {"command", 3, 3, true, Command},
    {"syscommand", 3, 3, true, SysCommand},
    {"move", 6, 6, true, Move},
    {"tick-lag", 3, 6, true, TickLag},
    {"show", 3, 3, true, Show},
    {"close", 2, kAnyCount, true, Close},
    {"accessible", 2, 2, true, Accessible},
};

}  // namespace

HWND FindClock() {
  const char *chosen = std::getenv("ORVCTL_CLOCK");
  if (chosen == nullptr || chosen[0] == '\0') return FindWindowA(kClass, nullptr);
  HWND w = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(chosen, nullptr, 16)));
  return IsWindow(w) ? w : nullptr;
}

int Fail(const char *what) {
  std::fprintf(stderr, "orvctl: %s\n", what);
  return 2;
}

int main(int argc, char **argv) {
  if (argc < 2) return Fail("no command");
  for (const SubCommand &c : kSubCommands) {
    if (std::strcmp(argv[1], c.name) != 0 || argc < c.minArgc || argc > c.maxArgc) continue;
    HWND clock = nullptr;
    if (c.needsClock && (clock = FindClock()) == nullptr) return Fail("the clock is not running");
    return c.run(argc, argv, clock);
  }
  if (FindClock() == nullptr) return Fail("the clock is not running");
  return Fail("unknown command");
}
