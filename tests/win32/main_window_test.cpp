// The main window through real messages: start-up state, the face and its font, the
// minimised caption, chimes, commands, keys, closing and the settings they store.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <float.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "clock_window.h"
#include "display/chimes.h"
#include "display/chimes_probe.h"
#include "display/clock_face.h"
#include "display/clock_face_probe.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/window_place.h"
#include "support/settings.h"
#include "support/settings_probe.h"

namespace {

using MainWindowStart = ClockWindow;

TEST_F(MainWindowStart, WithoutSettings) {
  Open();
  EXPECT_EQ(g_main.timeKind, 0);
  EXPECT_EQ(GetChimeMode(), kChimeMultiple);
  EXPECT_EQ(Caption(), "Orvane 2 (LMT)");
  HMENU menu = GetMenu(window_);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Checked(menu, IDM_LMT12));
  EXPECT_TRUE(Checked(menu, IDM_CHIME_MULTIPLE));
  EXPECT_FALSE(Checked(menu, IDM_CHIME_NONE));
  EXPECT_FALSE(Topmost());
  HMENU system = GetSystemMenu(window_, FALSE);
  EXPECT_TRUE(Greyed(system, IDM_SHOW_MENU_BAR));
  EXPECT_FALSE(Greyed(system, IDM_HIDE_MENU_BAR));
  EXPECT_FALSE(Checked(system, IDM_ALWAYS_ON_TOP));
  // The program's own items close the system menu: a separator before each group.
  const struct {
    UINT id;
    const char *text;
  } added[] = {{0, ""}, {IDM_HIDE_MENU_BAR, "Hide Menu Bar\tF10"},
               {IDM_SHOW_MENU_BAR, "Show Menu Bar\tF11"}, {0, ""},
               {IDM_ALWAYS_ON_TOP, "Always on &Top"},
               {IDM_NIGHT_COLOURS, "Night C&olours\tCtrl+N"},
               {IDM_UT_FROM_WINDOWS, "Universal Time from &Windows"}};
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
  EXPECT_STREQ(g_main.location.name, "Washington");
  // Nothing was written back: the posted commands found nothing changed.
  for (const char *key : {"Time", "Sound", "Menus", "OnTop", "X", "Width"}) {
    EXPECT_EQ(StoredSetting(key), "<absent>") << key;
  }
  EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(MainWindowStart, SavedChoicesAreAppliedAndWrittenBackUnchanged) {
  WriteSetting("Time", "3");
  WriteSetting("Sound", "1");
  WriteSetting("Menus", "1");
  WriteSetting("OnTop", "1");
  Open();
  EXPECT_EQ(g_main.timeKind, 3);
  EXPECT_EQ(Caption(), "Orvane 2 (LST)");
  EXPECT_EQ(GetChimeMode(), kChimeSingle);
  EXPECT_EQ(GetMenu(window_), nullptr);  // menu bar hidden
  EXPECT_TRUE(Checked(g_main.mainMenu, IDM_LST));
  EXPECT_FALSE(Checked(g_main.mainMenu, IDM_LMT12));
  EXPECT_TRUE(Checked(g_main.mainMenu, IDM_CHIME_SINGLE));
  EXPECT_FALSE(Checked(g_main.mainMenu, IDM_CHIME_MULTIPLE));
  EXPECT_TRUE(Topmost());
  HMENU system = GetSystemMenu(window_, FALSE);
  EXPECT_TRUE(Checked(system, IDM_ALWAYS_ON_TOP));
  EXPECT_FALSE(Greyed(system, IDM_SHOW_MENU_BAR));
  EXPECT_TRUE(Greyed(system, IDM_HIDE_MENU_BAR));
  EXPECT_EQ(StoredSetting("Time"), "3");
  EXPECT_EQ(StoredSetting("Sound"), "1");
  EXPECT_EQ(StoredSetting("Menus"), "1");
  EXPECT_EQ(StoredSetting("OnTop"), "1");
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

TEST_F(MainWindowStart, OutOfRangeValuesAreIgnored) {
  WriteSetting("Time", "7");
  WriteSetting("Sound", "-1");
  WriteSetting("Menus", "2");
  WriteSetting("OnTop", "yes");
  Open();
  EXPECT_EQ(g_main.timeKind, 0);
  EXPECT_EQ(GetChimeMode(), kChimeMultiple);
  EXPECT_NE(GetMenu(window_), nullptr);
  EXPECT_FALSE(Topmost());
  EXPECT_EQ(StoredSetting("Time"), "7");  // left as it was until a command changes it
  EXPECT_EQ(StoredSetting("Sound"), "-1");
  Command(IDM_CHIME_MULTIPLE);  // choosing Multiple again writes nothing
  EXPECT_EQ(StoredSetting("Sound"), "-1");
}

TEST_F(MainWindowStart, AMissingCityFileWarnsAndStartsWithNoName) {
  DeleteBeside("ZORKEL.DAT");
  g_fake.computerZoneSeconds = 0;  // where "No name" (zone 0) agrees: no question
  Open();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "Cannot load city location database");
  EXPECT_STREQ(g_main.location.name, "No name");
}

TEST_F(MainWindowStart, GeometryThatWouldHideTheWindowIsIgnored) {
  const int minWidth = GetSystemMetrics(SM_CXMINTRACK);
  struct Case {
    const char *x, *y, *width, *height;
    int ex, ey, ew, eh;  // expected; D for CW_USEDEFAULT
  };
  const int D = CW_USEDEFAULT;
  const Case cases[] = {
      {"100", "80", "500", "300", 100, 80, 500, 300},
      {nullptr, nullptr, nullptr, nullptr, D, D, D, D},  // nothing stored
      {"-4", "80", "500", "300", D, D, 500, 300},          // negative: never read back
      {"5000", "4000", "500", "300", D, D, 500, 300},      // on no monitor
      {"900", "700", "500", "300", 900, 700, 500, 300},    // partly off screen is fine
      {"100", "80", "20", "5", 100, 80, D, D},             // smaller than a window can be
  };
  for (const Case &c : cases) {
    DeleteAllSettings();
    if (c.x != nullptr) {
      WriteSetting("X", c.x);
      WriteSetting("Y", c.y);
      WriteSetting("Width", c.width);
      WriteSetting("Height", c.height);
    }
    int x, y, w, h;
    ReadWindowGeometry(&x, &y, &w, &h);
    EXPECT_EQ(x, c.ex) << c.x;
    EXPECT_EQ(y, c.ey) << c.x;
    EXPECT_EQ(w, c.ew) << c.x;
    EXPECT_EQ(h, c.eh) << c.x;
  }
  EXPECT_GT(minWidth, 20);

  // A place that leaves too little of the caption bar to grab counts as absent: the rule's
  // edges are rows of the native CaptionReach table; these show the window applies it.
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const struct {
    int x, y;
    bool kept;
  } edges[] = {
      {work.right - 4, 100, false},
      {work.right - 120, work.bottom - 60, true},
  };
  for (const auto &e : edges) {
    DeleteAllSettings();
    WriteSetting("X", std::to_string(e.x).c_str());
    WriteSetting("Y", std::to_string(e.y).c_str());
    WriteSetting("Width", "500");
    WriteSetting("Height", "300");
    int x, y, w, h;
    ReadWindowGeometry(&x, &y, &w, &h);
    EXPECT_EQ(x, e.kept ? e.x : D) << e.x << "," << e.y;
    EXPECT_EQ(y, e.kept ? e.y : D) << e.x << "," << e.y;
  }
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
  Command(IDM_GST);
  Tick();
  EXPECT_STREQ(LastClockText(), "11:37:14");  // 11.620432600406929 hours
  Command(IDM_LST);
  Tick();
  EXPECT_STREQ(LastClockText(), " 6:29:14");
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
  SetFakeClock(1999, 7, 1, 12, 0, 45);  // LST 6:29:59
  Tick();
  EXPECT_EQ(CaptionWrites(), before + 1);
  SetFakeClock(1999, 7, 1, 12, 0, 46);  // LST 6:30:00
  Tick();
  EXPECT_EQ(Caption(), " 6:30 LST");
  EXPECT_EQ(CaptionWrites(), before + 2);
  ShowWindow(window_, SW_RESTORE);
  Pump();
  EXPECT_EQ(Caption(), "Orvane 2 (LST)");
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
  std::FILE *shipped = std::fopen("Z:" ORVANE_SOURCE_DIR "/resources/ZORKEL.HLP", "rb");
  ASSERT_NE(shipped, nullptr);
  std::string help;  // the real file: a topic list or a file buffer kept would show
  for (int c; (c = std::getc(shipped)) != EOF;) help.push_back(static_cast<char>(c));
  std::fclose(shipped);
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

// ---- Chimes ----

using Chimes = ClockWindow;

// Ticks the clock second by second from h:m:s, returning the beeps heard.
int TickFrom(ClockWindow *, int hour, int minute, int second, int ticks, void (*tick)(void *),
             void *self) {
  const int before = g_fake.beeps;
  for (int i = 0; i < ticks; ++i) {
    int s = second + i;
    SetFakeClock(1999, 7, 1, hour, minute + s / 60, s % 60);
    tick(self);
  }
  return g_fake.beeps - before;
}

class ChimeRun : public ClockWindow {
 protected:
  int Run(int hour, int minute, int second, int ticks) {
    return TickFrom(this, hour, minute, second, ticks,
                    [](void *self) { static_cast<ChimeRun *>(self)->Tick(); }, this);
  }
};

TEST_F(ChimeRun, MultipleSoundsTheHourOnePerTick) {
  Open();
  Command(IDM_LMT24);
  EXPECT_EQ(Run(12, 59, 58, 2), 0);
  SetFakeClock(1999, 7, 1, 13, 0, 0);
  Tick();
  EXPECT_EQ(g_fake.beeps, 1);  // the tick that first shows 13:00 beeps at once
  EXPECT_EQ(Run(13, 0, 1, 12), 12);
  EXPECT_EQ(Run(13, 0, 13, 5), 0);
}

TEST_F(ChimeRun, TwelveHourFormAndHourZero) {
  struct Case {
    int kind, hour, mode, beeps;
  } cases[] = {
      {0, 12, kChimeMultiple, 12},  // noon
      {0, 0, kChimeMultiple, 12},   // midnight
      {0, 13, kChimeMultiple, 1},   // 1 PM
      {1, 0, kChimeMultiple, 0},    // hour 0 in 24-hour form: nothing
      {1, 0, kChimeSingle, 0},
      {1, 15, kChimeSingle, 1},
      {1, 15, kChimeNone, 0},
  };
  Open();
  for (const Case &c : cases) {
    Command(IDM_TIME_BASE + c.kind);
    Command(IDM_CHIME_BASE + c.mode);
    Run(c.hour == 0 ? 23 : c.hour - 1, 59, 58, 2);
    EXPECT_EQ(Run(c.hour, 0, 0, 20), c.beeps) << "kind " << c.kind << " hour " << c.hour
                                              << " mode " << c.mode;
    EXPECT_EQ(PendingChimeCount(), 0);
  }
}

TEST_F(ChimeRun, NoneClearsTheArmedCountAtTheNextTick) {
  Open();
  Command(IDM_LMT24);
  Command(IDM_CHIME_NONE);
  Run(13, 59, 59, 1);
  SetFakeClock(1999, 7, 1, 14, 0, 0);
  Paint();  // a paint arms without sounding
  EXPECT_EQ(PendingChimeCount(), 14);
  Tick();
  EXPECT_EQ(PendingChimeCount(), 0);
  EXPECT_EQ(g_fake.beeps, 0);
}

TEST_F(ChimeRun, SwitchingModeInTheMiddleOfARun) {
  Open();
  Command(IDM_LMT24);
  Run(15, 59, 59, 1);
  EXPECT_EQ(Run(16, 0, 0, 3), 3);
  Command(IDM_CHIME_SINGLE);
  EXPECT_EQ(Run(16, 0, 3, 5), 1);  // one more, then the run ends
  EXPECT_EQ(StoredSetting("Sound"), "1");
  Command(IDM_CHIME_MULTIPLE);
  Run(16, 59, 59, 1);
  EXPECT_EQ(Run(17, 0, 0, 2), 2);
  Command(IDM_CHIME_NONE);
  EXPECT_EQ(Run(17, 0, 2, 5), 0);  // the next tick ends the run without a beep
}

TEST_F(ChimeRun, StartedInMinuteZeroArmsAtTheFirstPaint) {
  SetFakeClock(1999, 7, 1, 15, 0, 20);
  WriteSetting("Time", "1");
  Open();  // its first paint finds no previous text
  EXPECT_EQ(PendingChimeCount(), 15);
  EXPECT_EQ(g_fake.beeps, 0);
  EXPECT_EQ(Run(15, 0, 21, 20), 15);
}

TEST_F(ChimeRun, SwitchingTimeKindInMinuteZero) {
  Open();
  Command(IDM_LMT12);
  Run(12, 59, 59, 1);
  EXPECT_EQ(Run(13, 0, 0, 1), 1);  // " 1:00:00 PM": one beep
  Command(IDM_LMT24);  // "13:00:01": another second hour digit: thirteen
  EXPECT_EQ(Run(13, 0, 1, 20), 13);
  Command(IDM_LMT12);
  Run(10, 59, 59, 1);
  Command(IDM_LMT24);
  Run(11, 0, 0, 20);
  Command(IDM_LMT12);  // "11:00:20 AM" after "11:00:19": the same hour digit, nothing
  EXPECT_EQ(Run(11, 0, 20, 5), 0);
}

TEST_F(ChimeRun, MinimisedWindowChimesTheSame) {
  Open();
  Command(IDM_LMT24);
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Run(8, 59, 59, 1);
  EXPECT_EQ(Run(9, 0, 0, 12), 9);
  EXPECT_EQ(Caption(), " 9:00 LMT");
}

// ---- Commands ----

using Commands = ClockWindow;

TEST_F(Commands, TimeKindWritesOnlyOnChangeButAlwaysResetsTheCaption) {
  Open();
  SetWindowTextA(window_, "something else");
  Command(IDM_LMT12);
  EXPECT_EQ(Caption(), "Orvane 2 (LMT)");
  EXPECT_EQ(StoredSetting("Time"), "<absent>");
  Command(IDM_UT);
  EXPECT_EQ(Caption(), "Orvane 2 (UT)");
  EXPECT_EQ(StoredSetting("Time"), "2");
  EXPECT_TRUE(Checked(g_main.mainMenu, IDM_UT));
  EXPECT_FALSE(Checked(g_main.mainMenu, IDM_LMT12));
}

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

TEST_F(Commands, ChimeModeWritesOnlyOnChange) {
  Open();
  Command(IDM_CHIME_MULTIPLE);
  EXPECT_EQ(StoredSetting("Sound"), "<absent>");
  Command(IDM_CHIME_NONE);
  EXPECT_EQ(StoredSetting("Sound"), "0");
  EXPECT_TRUE(Checked(g_main.mainMenu, IDM_CHIME_NONE));
  EXPECT_FALSE(Checked(g_main.mainMenu, IDM_CHIME_MULTIPLE));
}

TEST_F(Commands, HideAndShowTheMenuBarWithF10AndF11) {
  Open();
  HMENU menu = GetMenu(window_);
  HMENU system = GetSystemMenu(window_, FALSE);
  Command(IDM_GST);
  PressKey(VK_F11);  // already shown: nothing
  EXPECT_EQ(StoredSetting("Menus"), "<absent>");
  PressKey(VK_F10);
  EXPECT_EQ(GetMenu(window_), nullptr);
  EXPECT_EQ(StoredSetting("Menus"), "1");
  EXPECT_TRUE(Greyed(system, IDM_HIDE_MENU_BAR));
  EXPECT_FALSE(Greyed(system, IDM_SHOW_MENU_BAR));
  WriteSetting("Menus", "x");
  PressKey(VK_F10);  // already hidden: nothing
  EXPECT_EQ(StoredSetting("Menus"), "x");
  // F5 to F9 still switch the time scale.
  for (int k = 0; k < 5; ++k) {
    PressKey(VK_F5 + k);
    EXPECT_EQ(g_main.timeKind, k);
  }
  PressKey(VK_F8);
  PressKey(VK_F11);
  EXPECT_EQ(GetMenu(window_), menu);  // the same menu, with its marks
  EXPECT_TRUE(Checked(menu, IDM_LST));
  EXPECT_FALSE(Checked(menu, IDM_GST));
  EXPECT_EQ(StoredSetting("Menus"), "0");
  EXPECT_FALSE(Greyed(system, IDM_HIDE_MENU_BAR));
  EXPECT_TRUE(Greyed(system, IDM_SHOW_MENU_BAR));
}

TEST_F(Commands, AlwaysOnTopTwiceTurnsItOff) {
  Open();
  SysCommand(IDM_ALWAYS_ON_TOP);
  EXPECT_TRUE(Topmost());
  EXPECT_EQ(StoredSetting("OnTop"), "1");
  SysCommand(IDM_ALWAYS_ON_TOP);
  EXPECT_FALSE(Topmost());
  EXPECT_FALSE(Checked(GetSystemMenu(window_, FALSE), IDM_ALWAYS_ON_TOP));
  EXPECT_EQ(StoredSetting("OnTop"), "0");
}

TEST_F(Commands, ExitOffersTheSaveOfAChangedTableAndStoresTheGeometry) {
  Open();
  SetWindowPos(window_, nullptr, 120, 90, 480, 260, SWP_NOZORDER);
  Pump();
  char name[81] = "Quito";
  StoreCity(0, name, 78, 30, 0, kWest, -5.0, 0);
  g_fake.answer = kAnswerYes;
  Command(IDM_EXIT);
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "Save city location database?");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2");
  // Owned by the clock and modal to it alone, not to every window of the task.
  EXPECT_EQ(g_fake.boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(g_fake.boxes[0].owner, window_);
  EXPECT_NE(ReadFileBeside("ZORKEL.DAT").find("Quito"), std::string::npos);
  EXPECT_EQ(StoredSetting("X"), "120");
  EXPECT_EQ(StoredSetting("Y"), "90");
  EXPECT_EQ(StoredSetting("Width"), "480");
  EXPECT_EQ(StoredSetting("Height"), "260");
}

// Closed maximised: the normal place and size are stored, and the clock opens maximised
// again over them (Windows restores a window to its normal place, not the maximised one).
TEST_F(Commands, AMaximisedClockKeepsItsNormalPlaceAndOpensMaximised) {
  Open();
  SetWindowPos(window_, nullptr, 120, 90, 480, 260, SWP_NOZORDER);
  ShowWindow(window_, SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(IsZoomed(window_));
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(StoredSetting("X"), "120");
  EXPECT_EQ(StoredSetting("Width"), "480");
  EXPECT_EQ(StoredSetting("Maximized"), "1");
  EXPECT_EQ(StartShowCommand(SW_SHOWNORMAL), SW_SHOWMAXIMIZED);
  EXPECT_EQ(StartShowCommand(SW_SHOWMINNOACTIVE), SW_SHOWMINNOACTIVE);
  WriteSetting("Maximized", "0");
  EXPECT_EQ(StartShowCommand(SW_SHOWNORMAL), SW_SHOWNORMAL);
}

TEST_F(Commands, ClosingWhileMinimisedKeepsTheStoredGeometry) {
  WriteSetting("X", "111");
  Open();
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(StoredSetting("X"), "111");
  EXPECT_EQ(StoredSetting("Width"), "<absent>");
  EXPECT_TRUE(g_fake.boxes.empty());  // an unchanged table is not offered
}

TEST_F(Commands, EndOfSessionClosesOnlyWhenItReallyEnds) {
  Open();
  SendMessageA(window_, WM_ENDSESSION, 0, 0);
  EXPECT_EQ(StoredSetting("X"), "<absent>");
  SendMessageA(window_, WM_ENDSESSION, 1, 0);
  EXPECT_NE(StoredSetting("X"), "<absent>");
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

TEST_F(Commands, AFailureInsideAMessageEndsAtOnceWithoutSavingAnything) {
  const struct {
    const char *scenario;  // which call fails, in which message (see children.cpp)
    const char *message;
  } cases[] = {
      {"fail-begin-paint", "GDI Error"},        // WM_PAINT
      {"fail-font", "Cannot load font"},         // WM_PAINT
      {"fail-get-dc", "GDI Error"},             // WM_TIMER
      {"fail-release-dc", "GDI Error"},         // WM_TIMER
      {"fail-delete-font", "GDI Error"},        // WM_SIZE
      {"fail-set-timer", "No timer available"},  // WM_CREATE
      {"fail-set-timer-in-tick", "No timer available"},  // WM_TIMER, re-arming the next tick
  };
  for (const auto &c : cases) {
    const ChildResult r = RunChild(c.scenario);
    EXPECT_EQ(r.exitCode, 1u) << c.scenario << "\n" << r.output;
    // The clock stopped, then the report; nothing before it, nothing after.
    EXPECT_EQ(r.output.rfind(std::string("TIMER stopped\nBOX|Orvane 2 - Fatal Error|") + c.message +
                                 "|2030|noowner\n",
                             0),
              0u)
        << c.scenario << "\n" << r.output;
    EXPECT_EQ(r.output.find("Save city"), std::string::npos) << c.scenario;
    EXPECT_EQ(r.output.find("RETURNED"), std::string::npos) << c.scenario;
    EXPECT_EQ(StoredSetting("X"), "<absent>") << c.scenario;
    EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kTestCities) << c.scenario;
    EXPECT_FALSE(FileExists("CITIES.NEW")) << c.scenario;
  }
}

}  // namespace
