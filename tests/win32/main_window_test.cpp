// The main window through real messages: its system menu, the floating-point masks, a
// missing city file, the face and its font, the minimised caption, a new screen density,
// and handles and memory over a long run. Its settings and chimes have files of their own.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <float.h>
#include <xmmintrin.h>

#include <algorithm>
#include <string>

#include "../core/test_files.h"
#include "clock_window.h"
#include "display/clock_face.h"
#include "display/clock_face_probe.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"

namespace {

using MainWindowStart = ClockWindow;

// The program's own items close the system menu: a separator before each group.
TEST_F(MainWindowStart, SystemMenuEndsWithTheProgramsItems) {
  Open();
  HMENU system = GetSystemMenu(window_, FALSE);
  const struct {
    UINT id;
    const char *text;
  } added[] = {{0, ""}, {IDM_HIDE_MENU_BAR, "Hide Menu Bar\tF10"},
               {IDM_SHOW_MENU_BAR, "Show Menu Bar\tF11"}, {0, ""},
               {IDM_ALWAYS_ON_TOP, "Always on &Top"},
               {IDM_NIGHT_COLOURS, "Night C&olours\tCtrl+N"},
               {IDM_UT_FROM_WINDOWS, "Universal Time from &Windows"},
               {IDM_APPARENT, "A&pparent Sidereal Time"}};
  const int kAdded = static_cast<int>(sizeof added / sizeof added[0]);
  const int count = GetMenuItemCount(system);
  ASSERT_GT(count, kAdded);
  for (int i = 0; i < kAdded; ++i) {
    const UINT at = static_cast<UINT>(count - kAdded + i);
    char text[81] = "";
    GetMenuStringA(system, at, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, added[i].text) << i;
    EXPECT_EQ(GetMenuItemID(system, static_cast<int>(at)), added[i].id) << i;
  }
}

// Code that is not the clock's runs on its thread (input methods, accessibility hooks, what
// ShellExecute loads): an operation on a NaN there must not end the program. The masks are
// read inside the window procedure, as WM_CREATE leaves them: Wine restores them when the
// window's creation returns, Windows does not.
unsigned g_masksAfterCreate[2] = {};

LRESULT CALLBACK ReadMasksAfterCreate(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  const LRESULT result = MainWindowProc(w, m, wp, lp);
  if (m == WM_CREATE) g_masksAfterCreate[0] = _controlfp(0, 0) & _MCW_EM;
  if (m == WM_CREATE) g_masksAfterCreate[1] = _mm_getcsr() & _MM_MASK_MASK;
  return result;
}

TEST_F(MainWindowStart, LeavesFloatingPointExceptionsMasked) {
  WNDCLASSA probe = {};
  probe.lpfnWndProc = ReadMasksAfterCreate;
  probe.hInstance = GetModuleHandleA(nullptr);
  probe.lpszClassName = "OrvaneMaskProbe";
  RegisterClassA(&probe);
  DestroyWindow(CreateWindowA("OrvaneMaskProbe", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                              nullptr, nullptr, probe.hInstance, nullptr));
  EXPECT_EQ(g_masksAfterCreate[0], static_cast<unsigned>(_MCW_EM));
  EXPECT_EQ(g_masksAfterCreate[1], static_cast<unsigned>(_MM_MASK_MASK));
}

TEST_F(MainWindowStart, AMissingCityFileWarnsAndStartsWithNoName) {
  DeleteBeside("ZORKEL.DAT");
  g_fake.computerZoneSeconds = 0;  // where "No name" (zone 0) agrees: no question
  Open();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "Cannot load city location database");
  EXPECT_STREQ(g_clock.location.name, "No name");
}

// ---- The face ----

using ClockFace = ClockWindow;

TEST_F(ClockFace, FontFollowsTheClientWidthAndTextLength) {
  Open(400, 200);
  struct Case {
    int kind;
    LONG width, height;
  } cases[] = {{1, 40, 80}, {2, 40, 80}, {3, 40, 80}, {4, 40, 80}, {0, 30, 60}};
  for (const Case &c : cases) {
    Command(IDM_TIME_BASE + c.kind);
    EXPECT_EQ(CurrentClockFont(), nullptr);  // the command dropped the font
    Paint();
    ASSERT_NE(CurrentClockFont(), nullptr);
    const LOGFONTA f = LastClockFontDescription();
    EXPECT_EQ(f.lfWidth, c.width) << "kind " << c.kind;
    EXPECT_EQ(f.lfHeight, c.height) << "kind " << c.kind;
    EXPECT_EQ(f.lfPitchAndFamily, FIXED_PITCH | FF_DONTCARE);
    EXPECT_EQ(f.lfWeight, 0);
    EXPECT_EQ(f.lfCharSet, ANSI_CHARSET);
    EXPECT_STREQ(f.lfFaceName, "");
  }
}

TEST_F(ClockFace, TicksReuseTheFontAndASizeChangeDropsIt) {
  Open(400, 200);
  Paint();
  const int made = ClockFontsMade();
  HFONT font = CurrentClockFont();
  for (int s = 1; s <= 5; ++s) {
    SetFakeClock(1999, 7, 1, 12, 0, s);
    Tick();
  }
  EXPECT_EQ(ClockFontsMade(), made);
  EXPECT_EQ(CurrentClockFont(), font);
  SetClientSize(260, 150);
  EXPECT_EQ(ClockFontsMade(), made + 1);  // the repaint after the resize made a new one
  EXPECT_EQ(LastClockFontDescription().lfWidth, 20);  // 260 / 13
  SendMessageA(window_, WM_SIZE, 0, 0);
  EXPECT_EQ(CurrentClockFont(), nullptr);
}

TEST_F(ClockFace, TextFollowsTheClockAndTheTimeKind) {
  Open();
  SetFakeClock(1999, 7, 1, 12, 0, 0);
  Command(IDM_LMT24);
  Tick();
  EXPECT_STREQ(LastClockText(), "12:00:00");
  Command(IDM_UT);
  Tick();
  EXPECT_STREQ(LastClockText(), "17:00:00");
  // The sidereal scales show the second the reading is in, as the sky turns it.
  Command(IDM_GST);
  Tick();
  EXPECT_STREQ(LastClockText(), "11:37:13");  // 11.620432600406929 hours
  Command(IDM_LST);
  Tick();
  EXPECT_STREQ(LastClockText(), " 6:29:13");
  Command(IDM_LMT12);
  Tick();
  EXPECT_STREQ(LastClockText(), "12:00:00 PM");
}

TEST_F(ClockFace, PaintDrawsTheTextCentredAtTheFontsSizeInTheTextColour) {
  Open(400, 200);
  SetFakeClock(1999, 7, 1, 20, 0, 0);
  Command(IDM_LMT24);
  Paint();  // "20:00:00": 8 cells of 40 x 80 pixels
  ASSERT_STREQ(LastClockText(), "20:00:00");
  const int width = 400, height = 200;
  HDC screen = GetDC(window_);
  const std::vector<COLORREF> pixels = ReadPixels(screen, width, height);
  ReleaseDC(window_, screen);
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width * height));
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  const COLORREF textColour = GetSysColor(COLOR_WINDOWTEXT);
  int left = width, right = -1, top = height, bottom = -1, ink = 0, inTextColour = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF p = pixels[static_cast<std::size_t>(y * width + x)];
      if (p == background) continue;
      ++ink;
      if (p == textColour) ++inTextColour;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GT(ink, 0) << "nothing drawn";
  // Eight cells of 40 pixels, less the side bearings; digits stand about two thirds of the
  // 80-pixel cell high.
  EXPECT_GE(right - left + 1, 280);
  EXPECT_LE(right - left + 1, 320);
  EXPECT_GE(bottom - top + 1, 40);
  EXPECT_LE(bottom - top + 1, 80);
  EXPECT_NEAR((left + right) / 2.0, width / 2.0, 10.0);
  EXPECT_NEAR((top + bottom) / 2.0, height / 2.0, 10.0);
  EXPECT_GE(inTextColour, ink / 2);  // the strokes, whatever the smoothing of their edges
}

TEST_F(ClockFace, MinimisedCaptionChangesOncePerMinute) {
  Open();
  Command(IDM_LST);
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  SetFakeClock(1999, 7, 1, 12, 0, 0);  // LST 6:29:13.56
  const int before = CaptionWrites();
  Tick();
  EXPECT_EQ(Caption(), " 6:29 LST");
  EXPECT_EQ(CaptionWrites(), before + 1);
  SetFakeClock(1999, 7, 1, 12, 0, 46);  // LST 6:29:59.69
  Tick();
  EXPECT_EQ(CaptionWrites(), before + 1);
  SetFakeClock(1999, 7, 1, 12, 0, 47);  // LST 6:30:00.69
  Tick();
  EXPECT_EQ(Caption(), " 6:30 LST");
  EXPECT_EQ(CaptionWrites(), before + 2);
  // Apparent time, chosen while minimised, is named at once (within a second of the mean).
  SetFakeClock(1999, 7, 1, 12, 0, 20);  // LST 6:29:33.61
  Command(IDM_APPARENT);
  EXPECT_EQ(Caption(), " 6:29 LAST");
  ShowWindow(window_, SW_RESTORE);
  Pump();
  EXPECT_EQ(Caption(), "Orvane 2 (LAST)");
}

TEST_F(ClockFace, MinimisedTwelveHourCaptionKeepsTheDesignator) {
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  SetFakeClock(1999, 7, 1, 13, 5, 33);
  Tick();
  EXPECT_EQ(Caption(), " 1:05 PM LMT");
}

TEST_F(ClockFace, ProfileChangeRedrawsWithTheNewSeparatorAtOnce) {
  Open();
  char saved[81];
  GetProfileStringA("intl", "sTime", "\x01", saved, sizeof saved);
  WriteProfileStringA("intl", "sTime", ".");
  Command(IDM_LMT24);
  Paint();
  ValidateRect(window_, nullptr);  // nothing left to paint but what the message asks for
  SendMessageA(window_, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
  UpdateWindow(window_);  // the repaint the message asked for, before any tick
  EXPECT_STREQ(LastClockText(), "12.30.00");
  WriteProfileStringA("intl", "sTime", saved[0] == '\x01' ? nullptr : saved);
  SendMessageA(window_, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
}

// ---- Handles and memory over a long run ----

struct Usage {
  long gdi, user;
  long long bytes;
};

BOOL CALLBACK CountWindow(HWND w, LPARAM count) {
  ++*reinterpret_cast<long *>(count);
  EnumChildWindows(w, CountWindow, count);
  return TRUE;
}

// The bytes in use in the process's heaps: the C library's, GlobalAlloc's and the system's
// own on this side of the process.
long long HeapBytes() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  long long total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) total += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return total;
}

// The process's GDI and USER objects and private bytes. Wine counts none of them (its
// GetGuiResources is a stub, PrivateUsage is 0). There the GDI objects are counted in its
// handle table, which takes a handle by table index alone; the USER objects as this
// thread's windows; the bytes as those in use in the heaps (its committed memory also holds
// font caches of its own that grow with every font made, whoever deletes them).
Usage MeasureUsage() {
  Usage u = {static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
             static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)), 0};
  if (u.gdi == 0) {
    for (ULONG_PTR index = 1; index < 65536; ++index) {
      if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++u.gdi;
    }
  }
  if (u.user == 0) EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&u.user));
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory),
                       sizeof memory);
  u.bytes = memory.PrivateUsage != 0 ? static_cast<long long>(memory.PrivateUsage) : HeapBytes();
  return u;
}

int g_windowsClosed = 0;

BOOL CALLBACK CloseOtherWindow(HWND w, LPARAM keep) {
  if (w != reinterpret_cast<HWND>(keep) && IsWindowVisible(w)) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    ++g_windowsClosed;
  }
  return TRUE;
}

using LongRun = ClockWindow;

TEST_F(LongRun, HandlesAndMemoryStayFlat) {
  std::string help;  // the real file: a topic list or a file buffer kept would show
  ASSERT_TRUE(ReadWholeFile("Z:" ORVANE_SOURCE_DIR "/resources/ZORKEL.HLP", &help));
  WriteFileBeside("ZORKEL.HLP", help);
  Open();
  g_windowsClosed = 0;
  // Wine's own controls keep a little of each window made, measured with none of this
  // program's code as well: about 170 bytes for a Set Location box, and for the help one
  // byte per character of the topic shown (its edit control's word-break table, 1.4 KB for
  // the contents). The allowances take that and no more than a few bytes a tick.
  const struct {
    const char *what;
    int times;
    long long bytesAllowed;
    std::function<void(int)> step;
  } runs[] = {
      {"ticks with resizes", 2000, 16 * 1024,
       [this](int i) {
         SetFakeClock(1999, 7, 1, 12 + i / 3600, i / 60 % 60, i % 60);
         Tick();
         if (i % 20 == 0) SetClientSize(300 + i % 200, 150 + i % 100);
       }},
      {"time scales", 200, 16 * 1024,
       [this](int i) {
         Command(IDM_TIME_BASE + i % 5);
         Paint();
       }},
      {"Set Location", 200, 64 * 1024,
       [this](int) { WithDialog(IDM_SET_LOCATION, [](HWND d) { Click(d, IDCANCEL); }); }},
      {"About", 200, 64 * 1024,
       [this](int) { WithDialog(IDM_ABOUT, [](HWND d) { Click(d, IDCANCEL); }); }},
      {"help", 200, 400 * 1024,
       [this](int) {
         Command(IDM_HELP_INDEX);
         Pump();
         EnumThreadWindows(GetCurrentThreadId(), CloseOtherWindow, reinterpret_cast<LPARAM>(window_));
         Pump();
       }},
  };
  for (const auto &run : runs) {
    run.step(0);  // caches and first-use allocations are made once, before the count
    const Usage before = MeasureUsage();
    for (int i = 1; i <= run.times; ++i) run.step(i);
    const Usage after = MeasureUsage();
    EXPECT_LE(after.gdi - before.gdi, 2) << run.what;
    EXPECT_LE(after.user - before.user, 1) << run.what;
    EXPECT_LE(after.bytes - before.bytes, run.bytesAllowed) << run.what;
  }
  EXPECT_EQ(g_windowsClosed, 201);  // the help opened every time
  DeleteBeside("ZORKEL.HLP");
}

// ---- Commands ----

using Commands = ClockWindow;

TEST_F(Commands, TimeKindWhileMinimisedRewritesTheMinimisedCaptionAtOnce) {
  Open();
  Command(IDM_LMT24);
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  SetFakeClock(1999, 7, 1, 12, 0, 0);
  Tick();
  EXPECT_EQ(Caption(), "12:00 LMT");
  Command(IDM_UT);  // Washington, zone -5: 17:00 UT, without waiting for a tick
  EXPECT_EQ(Caption(), "17:00 UT");
  Command(IDM_LMT12);
  EXPECT_EQ(Caption(), "12:00 PM LMT");
}

TEST_F(Commands, ANewScreenDensityTakesTheSuggestedSizeAndANewFont) {
  Open();
  Paint();
  const int made = ClockFontsMade();
  RECT suggested = {60, 50, 60 + 720, 50 + 390};
  SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT r;
  GetWindowRect(window_, &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 720);
  EXPECT_EQ(r.bottom - r.top, 390);
  Pump();
  EXPECT_EQ(ClockFontsMade(), made + 1);
}

}  // namespace
