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
//   orvctl window CAPTION rect|close   another top-level window of the clock (the help)
//   orvctl window CAPTION place X Y W H   moves and sizes it
//   orvctl window CAPTION search TEXT     the help window: search for TEXT
//   orvctl window CAPTION view-key tab|enter|back   a key in the help window's text
//   orvctl time-to-paint EXE   start EXE; print the milliseconds until its window shows and
//                              until dark text first shows in it; then close it
//   orvctl hold                keep a hidden window open until killed: Wine's desktop process
//                              then stays up, instead of being started (with inherited
//                              output pipes) from inside whichever test next makes a window
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kClass[] = "Orvane 2";

HWND FindClock() { return FindWindowA(kClass, nullptr); }

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

int Fail(const char *what) {
  std::fprintf(stderr, "orvctl: %s\n", what);
  return 2;
}

double MillisecondsSince(const LARGE_INTEGER &start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

// True when the middle row of the window's client area, as the screen shows it, holds a
// dark pixel: the clock's text has been drawn.
bool ShowsText(HWND w) {
  RECT client;
  GetClientRect(w, &client);
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  const int width = client.right;
  if (width <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP row = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, row);
  BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y + client.bottom / 2, SRCCOPY);
  bool dark = false;
  const unsigned char *p = static_cast<const unsigned char *>(bits);
  for (int x = 0; x < width && !dark; ++x) dark = p[4 * x] + p[4 * x + 1] + p[4 * x + 2] < 192;
  SelectObject(memory, old);
  DeleteObject(row);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return dark;
}

int TimeToPaint(const char *exe) {
  char folder[MAX_PATH];
  std::snprintf(folder, sizeof folder, "%s", exe);
  char *slash = std::strrchr(folder, '\\');
  if (slash != nullptr) *slash = '\0';
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  char commandLine[MAX_PATH + 2];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", exe);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                      slash != nullptr ? folder : nullptr, &startup, &process)) {
    return Fail("cannot start the program");
  }
  double shown = -1;
  double painted = -1;
  HWND w = nullptr;
  while (MillisecondsSince(start) < 30000 && painted < 0) {
    if (w == nullptr) {
      w = FindClock();
      if (w != nullptr && !IsWindowVisible(w)) w = nullptr;
      if (w != nullptr) shown = MillisecondsSince(start);
    }
    if (w != nullptr && ShowsText(w)) painted = MillisecondsSince(start);
    if (painted < 0) Sleep(1);
  }
  if (w != nullptr) PostMessageA(w, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 20000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (painted < 0) return Fail("no clock text appeared");
  std::printf("window %.0f ms, text %.0f ms\n", shown, painted);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return Fail("no command");
  const char *verb = argv[1];

  if (std::strcmp(verb, "setting") == 0 && argc == 3) {
    char path[300];
    std::snprintf(path, sizeof path, "Software\\Corvanta\\Orvane 2\\%s", argv[2]);
    char value[256] = "";
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CURRENT_USER, path, value, &size) != ERROR_SUCCESS) value[0] = '\0';
    std::printf("%s\n", value);
    return 0;
  }
  if (std::strcmp(verb, "find-window") == 0 && argc == 3) {
    HWND w = WaitForWindow(nullptr, argv[2], 10);
    if (w == nullptr) return Fail("no such window");
    std::printf("%p\n", static_cast<void *>(w));
    return 0;
  }

  if (std::strcmp(verb, "dialog") == 0 && argc >= 4) {
    HWND dialog = WaitForWindow("#32770", argv[2], 10);
    if (dialog == nullptr) return Fail("no such dialog");
    const char *action = argv[3];
    if (std::strcmp(action, "rect") == 0) {
      RECT r;
      GetWindowRect(dialog, &r);
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
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
    } else if (std::strcmp(action, "check") == 0 && argc == 6) {
      SendDlgItemMessageA(dialog, std::atoi(argv[4]), BM_SETCHECK,
                          std::atoi(argv[5]) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
      return Fail("unknown dialog action");
    }
    return 0;
  }
  if (std::strcmp(verb, "window") == 0 && argc >= 4) {
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
      RECT r;
      GetWindowRect(w, &r);
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    } else {
      PostMessageA(w, WM_CLOSE, 0, 0);
    }
    return 0;
  }
  if (std::strcmp(verb, "time-to-paint") == 0 && argc == 3) return TimeToPaint(argv[2]);
  if (std::strcmp(verb, "hold") == 0) {
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "orvctl hold", WS_POPUP, 0, 0, 1, 1,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (w == nullptr) return Fail("cannot make a window");
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    return 0;
  }
  if (std::strcmp(verb, "wait") == 0) {
    HWND w = WaitForWindow(kClass, nullptr, argc > 2 ? std::atof(argv[2]) : 20);
    if (w == nullptr) return Fail("the clock's window did not appear");
    char caption[256];
    GetWindowTextA(w, caption, sizeof caption);
    std::printf("%s\n", caption);
    return 0;
  }

  HWND clock = FindClock();
  if (clock == nullptr) return Fail("the clock is not running");

  if (std::strcmp(verb, "caption") == 0) {
    char caption[256];
    GetWindowTextA(clock, caption, sizeof caption);
    std::printf("%s\n", caption);
  } else if (std::strcmp(verb, "rect") == 0) {
    RECT r;
    GetWindowRect(clock, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  } else if (std::strcmp(verb, "key") == 0) {
    for (int i = 2; i < argc; ++i) {
      const int vk = VirtualKey(argv[i]);
      if (vk == 0) return Fail("unknown key");
      const UINT down = vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
      const UINT up = vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
      PostMessageA(clock, down, static_cast<WPARAM>(vk), 1);
      PostMessageA(clock, up, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
      Sleep(200);
    }
  } else if (std::strcmp(verb, "command") == 0 && argc == 3) {
    PostMessageA(clock, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
  } else if (std::strcmp(verb, "syscommand") == 0 && argc == 3) {
    PostMessageA(clock, WM_SYSCOMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
  } else if (std::strcmp(verb, "move") == 0 && argc == 6) {
    SetWindowPos(clock, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                 std::atoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (std::strcmp(verb, "show") == 0 && argc == 3) {
    ShowWindow(clock, std::strcmp(argv[2], "minimize") == 0 ? SW_MINIMIZE : SW_RESTORE);
  } else if (std::strcmp(verb, "close") == 0) {
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
  } else {
    return Fail("unknown command");
  }
  return 0;
}
