// The main window's settings through real messages: the stored choices it starts with, the
// stored place and size, each choice written back only when it changes, and what closing stores.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "clock_window.h"
#include "astro/apparent.h"
#include "astro/universal_time.h"
#include "display/chimes.h"
#include "display/clock_face.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/settings.h"
#include "support/settings_probe.h"
#include "support/window_place.h"

namespace {

// What the window shows of the stored choices.
struct Shown {
  int kind;  // the time scale, 0-4
  int chime;
  bool menuHidden, onTop, night = false, utFromWindows = false, apparent = false;
};

constexpr int kChoices = 7;
const char *const kKeys[kChoices] = {"Time",  "Sound",         "Menus",   "OnTop",
                                     "Night", "UTFromWindows", "Apparent"};
// By scale; then LST and GST while apparent sidereal time is on.
const char *const kCaptions[] = {"Orvane 2 (LMT)", "Orvane 2 (LMT)", "Orvane 2 (UT)",
                                 "Orvane 2 (LST)", "Orvane 2 (GST)", "Orvane 2 (LAST)",
                                 "Orvane 2 (GAST)"};

class StoredChoices : public ClockWindow {
 protected:
  // Every caption, mark and state that shows the choices, each against what is expected.
  void ExpectShown(const Shown &s, const std::string &row) {
    EXPECT_EQ(ShownTimeKind(), s.kind) << row;
    EXPECT_EQ(Caption(), kCaptions[s.kind + (s.apparent && s.kind >= 3 ? 2 : 0)]) << row;
    EXPECT_EQ(GetChimeMode(), s.chime) << row;
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(Checked(g_clock.mainMenu, static_cast<UINT>(IDM_TIME_BASE + k)), k == s.kind)
          << row << ", scale " << k;
    }
    for (int m = kChimeNone; m <= kChimeMultiple; ++m) {
      EXPECT_EQ(Checked(g_clock.mainMenu, static_cast<UINT>(IDM_CHIME_BASE + m)), m == s.chime)
          << row << ", chime " << m;
    }
    // A bar shown again is the same menu, with its marks.
    EXPECT_EQ(GetMenu(window_), s.menuHidden ? nullptr : g_clock.mainMenu) << row;
    HMENU system = GetSystemMenu(window_, FALSE);
    EXPECT_EQ(Greyed(system, IDM_HIDE_MENU_BAR), s.menuHidden) << row;
    EXPECT_EQ(Greyed(system, IDM_SHOW_MENU_BAR), !s.menuHidden) << row;
    EXPECT_EQ(Topmost(), s.onTop) << row;
    EXPECT_EQ(Checked(system, IDM_ALWAYS_ON_TOP), s.onTop) << row;
    // In the Time menu, and in the system menu for when the menu bar is hidden.
    EXPECT_EQ(NightColours(), s.night) << row;
    EXPECT_EQ(UniversalTimeFromComputer(), s.utFromWindows) << row;
    EXPECT_EQ(ApparentSiderealTime(), s.apparent) << row;
    for (HMENU m : {g_clock.mainMenu, system}) {
      EXPECT_EQ(Checked(m, IDM_NIGHT_COLOURS), s.night) << row;
      EXPECT_EQ(Checked(m, IDM_UT_FROM_WINDOWS), s.utFromWindows) << row;
      EXPECT_EQ(Checked(m, IDM_APPARENT), s.apparent) << row;
    }
  }
  // Back to a clean start (settings, city file, shell state) for the next row.
  void Afresh() {
    TearDown();
    SetUp();
  }
};

TEST_F(StoredChoices, AreShownAtStartAndLeftAsStored) {
  const struct {
    const char *values[kChoices];  // as kKeys; null: not stored
    Shown shown;
    const char *after[kChoices] = {};  // where an on value is written back as 1; null: as stored
  } rows[] = {
      {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
       {0, kChimeMultiple, false, false}},
      {{"3", "1", "1", "1", "1", "1", "1"}, {3, kChimeSingle, true, true, true, true, true}},
      {{"4", "0", "0", "0", "0", "0", "0"}, {4, kChimeNone, false, false, false, false}},
      // Out of range, or not the one value that turns it on: ignored.
      {{"7", "-1", "2", "yes", "2", "-1", "-1"}, {0, kChimeMultiple, false, false, false, false}},
      {{"5", "3", "on", nullptr, "on", "2", "2"}, {0, kChimeMultiple, false, false, false, false}},
      // Any number but 0 keeps the clock on top; "01" is read as 1.
      {{nullptr, nullptr, "01", "5", "01", "01", "01"},
       {0, kChimeMultiple, true, true, true, true, true}, {nullptr, nullptr, "1", "1", "1", "1", "1"}},
  };
  for (const auto &r : rows) {
    Afresh();
    std::string row;
    for (int i = 0; i < kChoices; ++i) {
      if (r.values[i] != nullptr) WriteSetting(kKeys[i], r.values[i]);
      row += std::string(kKeys[i]) + "=" + (r.values[i] != nullptr ? r.values[i] : "-") + " ";
    }
    Open();
    ExpectShown(r.shown, row);
    EXPECT_STREQ(g_clock.location.name, "Washington") << row;
    EXPECT_TRUE(g_fake.boxes.empty()) << row;
    // Nothing is written back at start, but an on/off choice posted on stores its 1.
    for (int i = 0; i < kChoices; ++i) {
      const char *left = r.after[i] != nullptr ? r.after[i] : r.values[i];
      EXPECT_EQ(StoredSetting(kKeys[i]), left != nullptr ? left : "<absent>") << row << kKeys[i];
    }
    for (const char *key : {"X", "Y", "Width", "Height", "Maximized"}) {
      EXPECT_EQ(StoredSetting(key), "<absent>") << row << key;
    }
  }
}

enum How { kMenuCommand, kSystemCommand, kKey };

// One window, choice after choice. It starts from values out of range, which read as the
// defaults: choosing a default again must not write over them either.
TEST_F(StoredChoices, EachIsWrittenOnlyWhenItChanges) {
  const char *const start[kChoices] = {"7", "-1", "2", "yes", "2", "on", "on"};
  for (int i = 0; i < kChoices; ++i) WriteSetting(kKeys[i], start[i]);
  Open();
  const HMENU menu = GetMenu(window_);
  const int M = kChimeMultiple, N = kChimeNone;
  const struct {
    const char *key;
    const char *before;  // stored just before (null: as it is), so that a rewrite shows
    How how;
    int id;
    const char *after;
    Shown shown;
  } rows[] = {
      {"Time", nullptr, kMenuCommand, IDM_LMT12, "7", {0, M, false, false}},
      {"Time", nullptr, kMenuCommand, IDM_UT, "2", {2, M, false, false}},
      {"Time", "x", kMenuCommand, IDM_UT, "x", {2, M, false, false}},
      {"Sound", nullptr, kMenuCommand, IDM_CHIME_MULTIPLE, "-1", {2, M, false, false}},
      {"Sound", nullptr, kMenuCommand, IDM_CHIME_NONE, "0", {2, N, false, false}},
      {"Sound", "x", kMenuCommand, IDM_CHIME_NONE, "x", {2, N, false, false}},
      {"Menus", nullptr, kKey, VK_F11, "2", {2, N, false, false}},  // shown already
      {"Menus", nullptr, kKey, VK_F10, "1", {2, N, true, false}},
      {"Menus", "x", kKey, VK_F10, "x", {2, N, true, false}},  // hidden already
      // F5 to F9 still choose the scale while the menu bar is hidden.
      {"Time", nullptr, kKey, VK_F5, "0", {0, N, true, false}},
      {"Time", nullptr, kKey, VK_F6, "1", {1, N, true, false}},
      {"Time", nullptr, kKey, VK_F7, "2", {2, N, true, false}},
      {"Time", nullptr, kKey, VK_F9, "4", {4, N, true, false}},
      {"Time", nullptr, kKey, VK_F8, "3", {3, N, true, false}},
      {"Time", "x", kKey, VK_F8, "x", {3, N, true, false}},
      {"Menus", nullptr, kKey, VK_F11, "0", {3, N, false, false}},
      {"OnTop", nullptr, kSystemCommand, IDM_ALWAYS_ON_TOP, "1", {3, N, false, true}},
      {"OnTop", nullptr, kSystemCommand, IDM_ALWAYS_ON_TOP, "0", {3, N, false, false}},
      // The Time menu's items and the system menu's copies turn the same choice over.
      {"Night", nullptr, kMenuCommand, IDM_NIGHT_COLOURS, "1", {3, N, false, false, true}},
      {"Night", nullptr, kSystemCommand, IDM_NIGHT_COLOURS, "0", {3, N, false, false, false}},
      {"UTFromWindows", nullptr, kSystemCommand, IDM_UT_FROM_WINDOWS, "1",
       {3, N, false, false, false, true}},
      {"UTFromWindows", "1", kMenuCommand, IDM_UT_FROM_WINDOWS, "0", {3, N, false, false}},
      // The captions say apparent for either sidereal scale.
      {"Apparent", nullptr, kMenuCommand, IDM_APPARENT, "1", {3, N, false, false, false, false, true}},
      {"Time", nullptr, kKey, VK_F9, "4", {4, N, false, false, false, false, true}},
      {"Apparent", nullptr, kSystemCommand, IDM_APPARENT, "0", {4, N, false, false}},
      // A system menu's item sent as a menu-bar command is not the choice's.
      {"OnTop", nullptr, kMenuCommand, IDM_ALWAYS_ON_TOP, "0", {4, N, false, false}},
  };
  int n = 0;
  for (const auto &r : rows) {
    const std::string row = "row " + std::to_string(++n) + " " + r.key;
    if (r.before != nullptr) WriteSetting(r.key, r.before);
    // A time scale chosen puts the caption back even when nothing else changes.
    if (std::strcmp(r.key, "Time") == 0) SetWindowTextA(window_, "something else");
    if (r.how == kMenuCommand) Command(r.id);
    if (r.how == kSystemCommand) SysCommand(r.id);
    if (r.how == kKey) PressKey(r.id);
    EXPECT_EQ(StoredSetting(r.key), r.after) << row;
    ExpectShown(r.shown, row);
  }
  EXPECT_EQ(g_clock.mainMenu, menu);
}

using MainWindowStart = ClockWindow;

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
      // Negative places through the real registry and the real screen (Wine's one monitor
      // at 0, 0). Flush with the left edge, the invisible frame lies at X = -7 on Windows 10.
      {"-7", "80", "500", "300", -7, 80, 500, 300},
      {"-0", "80", "500", "300", 0, 80, 500, 300},
      // Where a monitor left of the main one stood: none here, as when it is unplugged (with
      // it there, the rule's rows in CaptionReach keep the place).
      {"-1920", "80", "500", "300", D, D, 500, 300},
      {"-", "80", "500", "300", D, D, 500, 300},
      {"--5", "80", "500", "300", D, D, 500, 300},
      {"100", "-2147483649", "500", "300", D, D, 500, 300},  // beyond an int
      {"-2147483648", "80", "500", "300", D, D, 500, 300},
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

// ---- What closing stores ----

using Commands = ClockWindow;

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

}  // namespace
