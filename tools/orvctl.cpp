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
//   orvctl tick-lag SECONDS    watch the clock's shown seconds for SECONDS, reading its pixels
//                              back every few ms, and report each change against the
//                              computer's clock: lag median, 99th percentile and worst, and
//                              the seconds skipped or shown twice
//   orvctl hold                keep a hidden window open until killed: Wine's desktop process
//                              then stays up, instead of being started (with inherited
//                              output pipes) from inside whichever test next makes a window
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

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

// ---- tick-lag ----

// The computer's clock in seconds since 1601, to the microsecond where Windows has it.
double ComputerSeconds() {
  using Precise = void(WINAPI *)(FILETIME *);
  static const Precise precise = reinterpret_cast<Precise>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME ft;
  if (precise != nullptr) {
    precise(&ft);
  } else {
    GetSystemTimeAsFileTime(&ft);
  }
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(ticks) / 1e7;
}

// A rectangle of the screen as it is shown now, as a grid of dark (text) and light pixels.
class ScreenGrab {
 public:
  ScreenGrab(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(memory_, bitmap_);
  }
  ~ScreenGrab() {
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  void Take(int x, int y) {
    BitBlt(memory_, 0, 0, width_, height_, screen_, x, y, SRCCOPY);
    GdiFlush();
  }
  bool Dark(int x, int y) const {
    const unsigned char *p = static_cast<const unsigned char *>(bits_) + 4 * (y * width_ + x);
    return p[0] + p[1] + p[2] < 384;
  }
  std::uint64_t Hash() const {  // of the dark/light pattern
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) h = (h ^ (Dark(x, y) ? 1u : 0u)) * 1099511628211ull;
    }
    return h;
  }

 private:
  int width_, height_;
  HDC screen_, memory_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void *bits_ = nullptr;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[rank == 0 ? 0 : rank - 1];
}

// The clock shows hh:mm:ss in a fixed-pitch font: the last eighth of the text is the units
// digit of the seconds. Its pixel pattern changes exactly when the shown second does; which
// digit each pattern is, is learnt from the computer's clock at the changes (a vote, so the
// rare change seen just across a second of the computer's own does not mislead it).
int TickLag(HWND w, double seconds) {
  RECT client;
  GetClientRect(w, &client);
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return Fail("the clock's window has no client area");

  // Where the text is: every dark pixel over two seconds, so that all its digits are seen.
  int left = width, right = -1, top = height, bottom = -1;
  {
    ScreenGrab whole(width, height);
    for (double until = ComputerSeconds() + 2.2; ComputerSeconds() < until; Sleep(50)) {
      whole.Take(origin.x, origin.y);
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          if (!whole.Dark(x, y)) continue;
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
    }
  }
  if (right < 0) return Fail("no clock text on the screen");
  const int cell = (right - left + 1) / 8;
  const int digitLeft = right + 1 - cell * 9 / 10;
  ScreenGrab digit(right + 1 - digitLeft, bottom + 1 - top);

  struct Change {
    double at;
    std::uint64_t pattern;
  };
  std::vector<Change> changes;
  std::vector<double> periods;
  std::uint64_t last = 0;
  double previous = 0.0;
  const double start = ComputerSeconds();
  for (;;) {
    digit.Take(origin.x + digitLeft, origin.y + top);
    const double now = ComputerSeconds();  // the change was on the screen by now
    const std::uint64_t pattern = digit.Hash();
    if (changes.empty() || pattern != last) changes.push_back({now, pattern});
    last = pattern;
    if (previous > 0.0) periods.push_back(now - previous);
    previous = now;
    if (now - start >= seconds) break;
    Sleep(2);
  }

  std::map<std::uint64_t, int[10]> votes;
  for (std::size_t i = 1; i < changes.size(); ++i) {
    const auto whole = static_cast<long long>(std::floor(changes[i].at));
    ++votes[changes[i].pattern][whole % 10];
  }
  auto digitOf = [&votes](std::uint64_t pattern) {
    auto found = votes.find(pattern);
    if (found == votes.end()) return -1;
    return static_cast<int>(std::max_element(found->second, found->second + 10) - found->second);
  };
  std::vector<double> lags;
  int skipped = 0, doubled = 0, unread = 0;
  for (std::size_t i = 1; i < changes.size(); ++i) {
    const int shown = digitOf(changes[i].pattern);
    const int before = digitOf(changes[i - 1].pattern);
    if (shown < 0 || (i > 1 && before < 0)) {
      ++unread;
      continue;
    }
    // The latest moment at or before the change when the computer's seconds ended in `shown`.
    const auto whole = static_cast<long long>(std::floor(changes[i].at));
    const double since = changes[i].at - static_cast<double>(whole - ((whole % 10 - shown + 10) % 10));
    if (i == 1) continue;  // the first change ends a second watched only in part
    lags.push_back(since * 1000.0);
    const int step = (shown - before + 10) % 10;
    if (step > 1) skipped += step - 1;
    if (step == 1 && changes[i].at - changes[i - 1].at > 1.5) ++doubled;
  }
  std::printf("changes %u in %.1f s, sampled every %.1f ms (median); lag median %.1f ms, "
              "p99 %.1f ms, worst %.1f ms; skipped %d, doubled %d, unread %d\n",
              static_cast<unsigned>(lags.size()), previous - start, Percentile(periods, 0.5) * 1000.0,
              Percentile(lags, 0.5), Percentile(lags, 0.99), Percentile(lags, 1.0), skipped,
              doubled, unread);
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
  } else if (std::strcmp(verb, "tick-lag") == 0 && argc == 3) {
    return TickLag(clock, std::atof(argv[2]));
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
