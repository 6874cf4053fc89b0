// The Set Location and About dialogs, driven through their controls inside the real main
// window, and the commands that open help and the web page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "../core/test_files.h"
#include "clock_window.h"
#include "dialog_template.h"
#include "astro/apparent.h"
#include "dialogs/about.h"
#include "display/clock_face.h"
#include "display/clock_face_probe.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/commands_probe.h"
#include "help/help_probe.h"
#include "help/help_window.h"
#include "shell/main_window.h"

namespace {

const char kCities[] =
    "Denver\r\n"
    "Denver              |104|59| 0|W|-7.00|1\r\n"
    "Kolkata             | 88|22| 0|E|5.50|0\r\n"
    "North Cape          | 25|47| 0|N|1.00|0\r\n"
    "Paris               |  2|20|14|E|1.00|2\r\n"
    "Washington          | 77| 0| 0|W|-5.00|0\r\n"
    "Daylight Minus One  | 10| 0| 0|E|1.00|-1\r\n";

class SetLocation : public ClockWindow {
 protected:
  void SetUp() override {
    ClockWindow::SetUp();
    WriteFileBeside("ZORKEL.DAT", kCities);
  }
  struct Fields {
    std::string degrees, minutes, seconds, zone;
    bool west, east, dst;
  };
  static Fields Read(HWND d) {
    return {FieldText(d, IDC_DEGREES), FieldText(d, IDC_MINUTES), FieldText(d, IDC_SECONDS),
            FieldText(d, IDC_ZONE),    IsChecked(d, IDC_WEST),    IsChecked(d, IDC_EAST),
            IsChecked(d, IDC_DST)};
  }
  static void ExpectFields(HWND d, const char *deg, const char *min, const char *sec, bool west,
                           const char *zone, bool dst) {
    const Fields f = Read(d);
    EXPECT_EQ(f.degrees, deg);
    EXPECT_EQ(f.minutes, min);
    EXPECT_EQ(f.seconds, sec);
    EXPECT_EQ(f.west, west);
    EXPECT_EQ(f.east, !west);
    EXPECT_EQ(f.zone, zone);
    EXPECT_EQ(f.dst, dst);
  }
  static std::string Selected(HWND d) {
    HWND combo = GetDlgItem(d, IDC_LOCATION_COMBO);
    const LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    char text[81] = "";
    if (i >= 0) SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    return text;
  }
};

// The controls, their texts and tab order are checked in the resource (templates_test.cpp);
// here what the running dialog changes: nothing moves the zone field from its place, and the
// name is limited as it is typed.
TEST_F(SetLocation, OpensWithTheZoneInPlaceAndTheNameLimited) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    // Rectangles are in dialog units; compare the zone field with its mapped place.
    const DialogRect &zone = kZoneFieldPlace;
    RECT want = {zone.x, zone.y, zone.x + zone.cx, zone.y + zone.cy};
    MapDialogRect(d, &want);
    RECT got;
    GetWindowRect(GetDlgItem(d, IDC_ZONE), &got);
    MapWindowPoints(nullptr, d, reinterpret_cast<POINT *>(&got), 2);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    // The name is limited to 20 characters as it is typed.
    TypeInto(ComboEdit(d), "A name of twenty-five chr");
    EXPECT_EQ(FieldText(d, IDC_LOCATION_COMBO).size(), 20u);
    Click(d, IDCANCEL);
  });
}

TEST_F(SetLocation, OpensOnTheCurrentCityWithItsValues) {
  Open();
  WithDialog(IDM_SET_LOCATION, [this](HWND d) {
    EXPECT_EQ(Selected(d), "Denver");
    ExpectFields(d, "104", "59", "00", true, "-7.00", true);
    EXPECT_EQ(GetFocus(), ComboEdit(d));
    Click(d, IDCANCEL);
  });
}

TEST_F(SetLocation, FieldsFollowWhatIsTypedOrChosen) {
  Open();
  WithDialog(IDM_SET_LOCATION, [this](HWND d) {
    TypeInto(ComboEdit(d), "Atlantis");
    ExpectFields(d, "0", "00", "00", true, "0.00", true);  // the defaults
    TypeInto(ComboEdit(d), "  kolkata ");                  // case and blanks do not matter
    ExpectFields(d, "88", "22", "00", false, "5.50", false);
    TypeInto(ComboEdit(d), "kolkat");  // on the way to another name: defaults again
    ExpectFields(d, "0", "00", "00", true, "0.00", true);
    ChooseListItem(d, "Washington");
    ExpectFields(d, "77", "00", "00", true, "-5.00", false);
    ChooseListItem(d, "North Cape");  // N shows as East
    ExpectFields(d, "25", "47", "00", false, "1.00", false);
    Click(d, IDCANCEL);
  });
}

TEST_F(SetLocation, EachDaylightCodeTicksItsBox) {
  // 2 is the computer's own rules; any other nonzero code is the US rules, as it always was.
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    const struct {
      const char *name;
      bool us, windows;
    } cases[] = {{"Paris", false, true},      {"Kolkata", false, false},
                 {"Daylight Minus One", true, false}, {"Washington", false, false},
                 {"Denver", true, false}};
    for (const auto &c : cases) {
      ChooseListItem(d, c.name);
      EXPECT_EQ(IsChecked(d, IDC_DST), c.us) << c.name;
      EXPECT_EQ(IsChecked(d, IDC_DST_WINDOWS), c.windows) << c.name;
    }
    Click(d, IDCANCEL);
  });
}

TEST_F(SetLocation, WithNoListSelectionTheEditTextIsUsed) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    HWND combo = GetDlgItem(d, IDC_LOCATION_COMBO);
    for (int notification : {CBN_CLOSEUP, CBN_SELCHANGE}) {
      SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      const char *name = notification == CBN_CLOSEUP ? "Kolkata" : "Washington";
      SetWindowTextA(combo, name);  // not a notification: the fields still show the last city
      ASSERT_NE(FieldText(d, IDC_DEGREES), notification == CBN_CLOSEUP ? "88" : "77");
      SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_LOCATION_COMBO, notification),
                   reinterpret_cast<LPARAM>(combo));
      EXPECT_EQ(FieldText(d, IDC_DEGREES), notification == CBN_CLOSEUP ? "88" : "77") << name;
    }
    Click(d, IDCANCEL);
  });
}

struct CheckCase {
  const char *name, *degrees, *minutes, *seconds, *zone;
  const char *message;  // "" when the entry passes
  int field;
};

// The order and messages of the checks are a native table (location_check_test.cpp); here
// the dialog reads its fields, shows the first failure's warning owned by the dialog, and
// leaves the focus on that field with its text selected, as Windows shows an edit field
// and a combo box's edit part; a passing entry closes the dialog.
TEST_F(SetLocation, ShowsTheFirstFailingCheckOnItsField) {
  const CheckCase cases[] = {
      {"Test", "180", "0", "0", "0", "", 0},
      {"Test", "10", "60", "0", "abc", "Minutes must be between 0 and 59", IDC_MINUTES},
      {"Test", "10", "0", "0", "abc", "Invalid number", IDC_ZONE},
      {"A|B", "10", "0", "0", "0", "Location name cannot contain |", IDC_LOCATION_COMBO},
  };
  Open();
  for (const CheckCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " " << c.degrees << " " << c.minutes << " "
                                    << c.seconds << " " << c.zone);
    ClearFakeRecords();
    WithDialog(IDM_SET_LOCATION, [&c](HWND d) {
      TypeInto(ComboEdit(d), c.name);
      SetField(d, IDC_DEGREES, c.degrees);
      SetField(d, IDC_MINUTES, c.minutes);
      SetField(d, IDC_SECONDS, c.seconds);
      SetField(d, IDC_ZONE, c.zone);
      Click(d, IDOK);
      if (c.message[0] == '\0') {
        EXPECT_FALSE(IsWindowVisible(d));
        EXPECT_TRUE(g_fake.boxes.empty());
        return;
      }
      ASSERT_EQ(g_fake.boxes.size(), 1u);
      EXPECT_EQ(g_fake.boxes[0].text, c.message);
      EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Error");
      EXPECT_EQ(g_fake.boxes[0].owner, d);
      HWND field = GetDlgItem(d, c.field);
      HWND focus = GetFocus();
      EXPECT_TRUE(focus == field || GetParent(focus) == field);
      DWORD from = 1, to = 0;
      SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
      EXPECT_EQ(from, 0u);
      EXPECT_EQ(to, static_cast<DWORD>(GetWindowTextLengthA(focus)));
      Click(d, IDCANCEL);
    });
  }
}

TEST_F(SetLocation, OkStoresTheCityAndMakesItCurrentWithoutWritingTheFile) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) { Click(d, IDOK); });  // Denver as it is
  EXPECT_EQ(CityTableChanged(), 0);

  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    TypeInto(ComboEdit(d), "Quito");
    SetField(d, IDC_DEGREES, "78");
    SetField(d, IDC_MINUTES, "30");
    SetField(d, IDC_SECONDS, "0");
    SetField(d, IDC_ZONE, "-5");
    SendDlgItemMessageA(d, IDC_DST, BM_SETCHECK, BST_UNCHECKED, 0);
    Click(d, IDOK);
  });
  EXPECT_EQ(CityTableChanged(), 1);
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kCities);
  EXPECT_STREQ(CurrentCityName(), "Quito");
  EXPECT_STREQ(g_clock.location.name, "Quito");
  EXPECT_EQ(g_clock.location.longitude, 78.5);
  EXPECT_EQ(g_clock.location.hemisphere, kWest);
  EXPECT_EQ(g_clock.location.zone, -5.0);
  EXPECT_EQ(g_clock.location.dst, 0);
  // The next tick shows the time for the new place.
  Command(IDM_UT);
  SetFakeClock(1999, 7, 1, 12, 0, 0);
  Tick();
  EXPECT_STREQ(LastClockText(), "17:00:00");

  // The same city in other letter case updates it and adds no row.
  const int rows = CityCount();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    TypeInto(ComboEdit(d), "QUITO");
    SetField(d, IDC_SECONDS, "5");
    Click(d, IDOK);
  });
  EXPECT_EQ(CityCount(), rows);
  char quito[81] = "quito";
  EXPECT_EQ(FindCity(quito)->seconds, 5);
  EXPECT_STREQ(FindCity(quito)->name, "QUITO");
}

TEST_F(SetLocation, OkOnAnUntouchedCityWhoseZoneNoFloatHoldsChangesNothing) {
  WriteFileBeside("ZORKEL.DAT", "St. John's\r\nSt. John's          | 52|43| 0|W|-3.30|1\r\n");
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) { Click(d, IDOK); });
  EXPECT_EQ(CityTableChanged(), 0);
  ClearFakeRecords();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(g_fake.boxes.empty());  // nothing to offer at exit
}

TEST_F(SetLocation, SaveWritesTheFileAndClearsTheMark) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    ChooseListItem(d, "Kolkata");
    SendDlgItemMessageA(d, IDC_DST, BM_SETCHECK, BST_CHECKED, 0);
    Click(d, IDC_SAVE);
  });
  EXPECT_EQ(CityTableChanged(), 0);
  const std::string saved = ReadFileBeside("ZORKEL.DAT");
  EXPECT_EQ(saved.rfind("Kolkata\r\n", 0), 0u);
  EXPECT_NE(saved.find("Kolkata             | 88|22| 0|E|5.50|1\r\n"), std::string::npos);
  ClearFakeRecords();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(g_fake.boxes.empty());  // nothing left to offer
}

TEST_F(SetLocation, CancelChangesNothing) {
  Open();
  const Location before = g_clock.location;
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    SetField(d, IDC_DEGREES, "5");
    SetField(d, IDC_ZONE, "3");
    Click(d, IDC_EAST);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(CityTableChanged(), 0);
  EXPECT_EQ(g_clock.location.longitude, before.longitude);
  EXPECT_EQ(g_clock.location.zone, before.zone);
  EXPECT_EQ(g_clock.location.hemisphere, before.hemisphere);
  EXPECT_EQ(g_clock.location.dst, before.dst);
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kCities);
}

// The second daylight-saving box: the computer's own rules (code 2), never together with
// the US rules (code 1); neither box means none (0).
TEST_F(SetLocation, DaylightSavingAsInWindowsIsTheOtherChoice) {
  auto ticks = [](HWND d) {
    return std::make_pair(IsChecked(d, IDC_DST), IsChecked(d, IDC_DST_WINDOWS));
  };
  const auto us = std::make_pair(true, false), windows = std::make_pair(false, true),
             neither = std::make_pair(false, false);
  Open();
  const Location before = g_clock.location;
  WithDialog(IDM_SET_LOCATION, [&](HWND d) {
    ChooseListItem(d, "Paris");
    EXPECT_EQ(ticks(d), windows);
    ChooseListItem(d, "Denver");
    EXPECT_EQ(ticks(d), us);
    ChooseListItem(d, "Kolkata");
    EXPECT_EQ(ticks(d), neither);
    const struct {
      int box;
      std::pair<bool, bool> after;
    } clicks[] = {{IDC_DST_WINDOWS, windows}, {IDC_DST, us}, {IDC_DST_WINDOWS, windows},
                  {IDC_DST_WINDOWS, neither}, {IDC_DST, us}, {IDC_DST, neither}};
    for (const auto &c : clicks) {
      SendDlgItemMessageA(d, c.box, BM_CLICK, 0, 0);
      EXPECT_EQ(ticks(d), c.after) << "after clicking " << c.box;
    }
    SendDlgItemMessageA(d, IDC_DST_WINDOWS, BM_CLICK, 0, 0);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(CityTableChanged(), 0);
  EXPECT_EQ(g_clock.location.dst, before.dst);
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kCities);

  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    ChooseListItem(d, "Kolkata");
    SendDlgItemMessageA(d, IDC_DST_WINDOWS, BM_CLICK, 0, 0);
    Click(d, IDC_SAVE);
  });
  EXPECT_NE(ReadFileBeside("ZORKEL.DAT").find("Kolkata             | 88|22| 0|E|5.50|2\r\n"),
            std::string::npos);
  EXPECT_EQ(g_clock.location.dst, kComputerDaylightSaving);

  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    ChooseListItem(d, "Denver");
    SendDlgItemMessageA(d, IDC_DST, BM_CLICK, 0, 0);  // off: neither box
    Click(d, IDOK);
  });
  char denver[81] = "Denver";
  EXPECT_EQ(FindCity(denver)->dst, kNoDaylightSaving);
}

TEST_F(SetLocation, NorthAndSouthStayThroughOkAndTheButtonsChangeThem) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    ChooseListItem(d, "North Cape");
    Click(d, IDOK);
  });
  char name[81] = "North Cape";
  EXPECT_EQ(FindCity(name)->hemisphere, kNorth);
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    ChooseListItem(d, "Washington");
    Click(d, IDC_EAST);
    EXPECT_TRUE(IsChecked(d, IDC_EAST));
    EXPECT_FALSE(IsChecked(d, IDC_WEST));
    Click(d, IDOK);
  });
  EXPECT_EQ(g_clock.location.hemisphere, kEast);
}

TEST_F(SetLocation, ZoneTextInTheUsersPunctuation) {
  Open();
  struct Case {
    const char *decimal, *typed;
    double stored;
    const char *shown;
  } cases[] = {
      {".", "5.3", 5.3000001907348633, "5.30"},  // read in single precision
      {",", "5,75", 5.75, "5,75"},
      {",", "5.5", 5.5, "5,50"},
      {".", "-0.5", -0.5, "-0.50"},  // keeps its sign
      {".", "5.5 hours", 5.5, "5.50"},
  };
  char saved[81];
  GetProfileStringA("intl", "sDecimal", "\x01", saved, sizeof saved);
  for (const Case &c : cases) {
    WriteProfileStringA("intl", "sDecimal", c.decimal);
    SendMessageA(window_, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    WithDialog(IDM_SET_LOCATION, [&c](HWND d) {
      ChooseListItem(d, "Washington");
      SetField(d, IDC_ZONE, c.typed);
      Click(d, IDOK);
    });
    EXPECT_EQ(g_clock.location.zone, c.stored) << c.typed;
    WithDialog(IDM_SET_LOCATION, [&c](HWND d) {
      EXPECT_EQ(FieldText(d, IDC_ZONE), c.shown) << c.typed;
      Click(d, IDCANCEL);
    });
  }
  WriteProfileStringA("intl", "sDecimal", saved[0] == '\x01' ? nullptr : saved);
  SendMessageA(window_, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
}

TEST_F(SetLocation, TheShippedCityListIsOfferedWhole) {
  std::string bytes;
  ASSERT_TRUE(ReadShippedFile("ZORKEL.DAT", &bytes));
  WriteFileBeside("ZORKEL.DAT", bytes);
  Open();
  EXPECT_STREQ(g_clock.location.name, "London");
  const int rows = CityCount();
  EXPECT_GE(rows, 300);
  WithDialog(IDM_SET_LOCATION, [rows](HWND d) {
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_LOCATION_COMBO, CB_GETCOUNT, 0, 0), rows);
    EXPECT_EQ(Selected(d), "London");
    ChooseListItem(d, "Sao Paulo");
    EXPECT_EQ(FieldText(d, IDC_ZONE), "-3.00");
    Click(d, IDCANCEL);
  });
}

// ---- Sidereal Time ----

using SiderealDialog = ClockWindow;

// One opening per row, in order: what the dialog shows from what is in force and stored,
// then what is typed and chosen, and what is stored and in force after. DUT1's date is
// written only when DUT1 changes; a refused text warns on the field and stores nothing.
TEST_F(SiderealDialog, OkStoresAndAppliesDut1AndTheScaleCancelChangesNothing) {
  // 0.1 s to its first 80 characters, but finer than a millisecond.
  static const std::string kLongDut1Text = "0.1" + std::string(90, '0') + "1";
  const char *const kLongDut1 = kLongDut1Text.c_str();
  const struct {
    int day;  // of December 2026, the computer's date
    const char *shownDut1, *shownDate;
    bool shownApparent;
    const char *typed;
    bool apparent, refused;
    int button;
    const char *dut1, *date, *apparentKey;  // stored after
    int inForce;
  } rows[] = {
      {7, "0.000", "not entered", false, "-0.123", false, false, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, kLongDut1, true, true, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "1.0", true, true, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "-0.95", true, true, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "abc", true, true, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "0.1234", true, true, IDOK, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "0.5", true, false, IDCANCEL, "-123", "20261207", "<absent>", -123},
      {8, "-0.123", "2026-12-07", false, "-.123", true, false, IDOK, "-123", "20261207", "1", -123},
      {9, "-0.123", "2026-12-07", true, "-0.123", false, false, IDOK, "-123", "20261207", "0", -123},
      {9, "-0.123", "2026-12-07", false, " 0.9 ", false, false, IDOK, "900", "20261209", "0", 900},
  };
  Open();
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "typed '" << r.typed << "'");
    ClearFakeRecords();
    SetFakeClock(2026, 12, r.day, 21, 30, 0);
    WithDialog(IDM_SIDEREAL_DIALOG, [&r](HWND d) {
      EXPECT_EQ(FieldText(d, IDC_DUT1), r.shownDut1);
      EXPECT_EQ(FieldText(d, IDC_DUT1_DATE), r.shownDate);
      EXPECT_EQ(IsChecked(d, IDC_SIDEREAL_APPARENT), r.shownApparent);
      SetField(d, IDC_DUT1, r.typed);
      Click(d, r.apparent ? IDC_SIDEREAL_APPARENT : IDC_SIDEREAL_MEAN);
      Click(d, r.button);
      EXPECT_EQ(IsWindowVisible(d) != FALSE, r.refused);
      ASSERT_EQ(g_fake.boxes.size(), r.refused ? 1u : 0u);
      if (!r.refused) return;
      EXPECT_EQ(g_fake.boxes[0].text, "DUT1 must be between -0.9 and +0.9 seconds");
      EXPECT_EQ(g_fake.boxes[0].owner, d);
      EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_DUT1));
      Click(d, IDCANCEL);
    });
    EXPECT_EQ(StoredSetting("DUT1"), r.dut1);
    EXPECT_EQ(StoredSetting("DUT1Date"), r.date);
    EXPECT_EQ(StoredSetting("Apparent"), r.apparentKey);
    EXPECT_EQ(Dut1Milliseconds(), r.inForce);
    EXPECT_EQ(ApparentSiderealTime(), std::string(r.apparentKey) == "1");
  }
  // The last OK changed DUT1 alone: the whole face is to be drawn again at once.
  RECT client, waiting;
  GetClientRect(window_, &client);
  ASSERT_TRUE(GetUpdateRect(window_, &waiting, FALSE));
  EXPECT_TRUE(EqualRect(&waiting, &client));
}

// ---- About ----

using AboutBox = ClockWindow;

// Where a point with this hit-test code lies on the caption row of `w`, scanning from the right.
POINT CaptionPoint(HWND w, LRESULT code) {
  RECT r;
  GetWindowRect(w, &r);
  const int y = r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = r.right - 1; x > r.left; --x) {
    if (SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) return {x - 4, y};
  }
  return {-1, -1};
}

TEST_F(AboutBox, OpensCentredAndClosesWithOkEnterEscOrTheCloseBox) {
  Open();
  enum Way { kEnter, kEsc, kCloseBox, kOkButton };
  for (Way way : {kEnter, kEsc, kCloseBox, kOkButton}) {
    WithDialog(IDM_ABOUT, [way](HWND d) {
      SCOPED_TRACE(testing::Message() << "way " << way);
      char caption[81];
      GetWindowTextA(d, caption, sizeof caption);
      EXPECT_STREQ(caption, "Orvane 2");
      EXPECT_EQ(FieldText(d, IDC_ABOUT_TEXT), "Orvane 2 v. 2.02 for Windows 95, Windows 98, and NT");
      EXPECT_NE(SendDlgItemMessageA(d, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
      RECT r;
      GetWindowRect(d, &r);
      // Centred on the work area of the clock's monitor (Wine has the one): the margins
      // left and right, and above and below, differ by a pixel at most (the hand-worked
      // positions, other monitors among them, are in field_text_test.cpp).
      MONITORINFO monitor = {};
      monitor.cbSize = sizeof monitor;
      ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(GetWindow(d, GW_OWNER), MONITOR_DEFAULTTONEAREST), &monitor));
      const RECT &work = monitor.rcWork;
      EXPECT_LE(std::abs((r.left - work.left) - (work.right - r.right)), 1);
      EXPECT_LE(std::abs((r.top - work.top) - (work.bottom - r.bottom)), 1);
      EXPECT_GT(r.left, work.left);
      EXPECT_GT(r.top, work.top);
      SetForegroundWindow(d);
      if (way == kEnter || way == kEsc) {
        ASSERT_TRUE(SendRealKey(way == kEnter ? VK_RETURN : VK_ESCAPE));
      } else if (way == kCloseBox) {
        const POINT box = CaptionPoint(d, HTCLOSE);
        ASSERT_GE(box.x, 0) << "no close box";
        ASSERT_TRUE(SendRealClick(box));
      } else {
        RECT ok;
        GetWindowRect(GetDlgItem(d, IDCANCEL), &ok);
        ASSERT_TRUE(SendRealClick({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2}));
      }
      EXPECT_TRUE(PumpUntilClosed(d));
    });
  }
}

// Runs after every other test of the session (see tests/CMakeLists.txt): Wine keeps the
// 640 x 480 screen of the small desktop for the rest of the session.
TEST_F(AboutBox, OnA640By480ScreenA200By100WindowGoesTo220And190) {
  // A Wine virtual desktop of 640 x 480 is a screen of that size to the programs on it.
  DeleteBeside("CENTRE.TXT");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine =
      std::string("explorer.exe /desktop=orvane640,640x480 \"") + self + "\" --child=centre-on-640";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::string result;
  for (int i = 0; i < 200 && result.empty(); ++i) {
    Sleep(100);
    if (FileExists("CENTRE.TXT")) result = ReadFileBeside("CENTRE.TXT");
  }
  EXPECT_EQ(result, "screen 640 480 at 220 190\r\n");
  DeleteBeside("CENTRE.TXT");
}

TEST_F(AboutBox, CentringKeepsAWindowOnTheScreen) {
  Open();
  HWND w = CreateWindowA("STATIC", "tall", WS_POPUP, 0, 0, 200, GetSystemMetrics(SM_CYSCREEN) + 300,
                         nullptr, nullptr, nullptr, nullptr);
  CenterWindowOnScreen(w);
  RECT r;
  GetWindowRect(w, &r);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &monitor));
  EXPECT_EQ(r.top, monitor.rcWork.top);
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) + 300);  // size kept
  DestroyWindow(w);
}

// ---- Help and the web page ----

using HelpCommands = ClockWindow;

TEST_F(HelpCommands, OpenTheRightTopicsAndQuitClosesTheWindow) {
  WriteFileBeside("ZORKEL.HLP",
                  "== contents | Contents\r\nkeywords: index\r\nWelcome.\r\n"
                  "== keys | Keyboard\r\nkeywords: keys; keyboard\r\nF5 to F9.\r\n"
                  "== helponhelp | Using Help\r\nPick a topic.\r\n");
  Open();
  struct Case {
    int command;
    const char *topic;
  } cases[] = {{IDM_HELP_INDEX, "(index)"}, {IDM_HELP_KEYBOARD, "keys"}, {IDM_HELP_USING, "helponhelp"}};
  for (const Case &c : cases) {
    Command(c.command);
    ASSERT_NE(HelpWindowHandle(), nullptr);
    EXPECT_TRUE(IsWindowVisible(HelpWindowHandle()));
    EXPECT_STREQ(ShownHelpTopic(), c.topic);
  }
  EXPECT_TRUE(g_fake.boxes.empty());
  EXPECT_TRUE(ShowHelp(window_, g_clock.helpPath, HELP_QUIT, 0));
  EXPECT_EQ(HelpWindowHandle(), nullptr);
  PressKey(VK_F1);  // F1 is the index
  EXPECT_STREQ(ShownHelpTopic(), "(index)");
  SendMessageA(window_, WM_CLOSE, 0, 0);  // closing the clock releases the help too
  EXPECT_EQ(HelpWindowHandle(), nullptr);
  DeleteBeside("ZORKEL.HLP");
}

struct WebCall {
  std::string verb, file;
  int show;
  int calls;
} g_web;

HINSTANCE WINAPI RecordWebPage(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
  g_web = {verb, file, show, g_web.calls + 1};
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

TEST_F(HelpCommands, WebPageOpensShownNormally) {
  Open();
  g_web = {};
  SetWebPageOpener(RecordWebPage);
  Command(IDM_WEB_SITE);
  SetWebPageOpener(nullptr);
  EXPECT_EQ(g_web.calls, 1);
  EXPECT_EQ(g_web.verb, "open");
  EXPECT_EQ(g_web.file.rfind("https://", 0), 0u);
  EXPECT_EQ(g_web.show, SW_SHOWNORMAL);
}

// Another program takes the focus while a field's warning is up: Windows then leaves the
// clock's thread no focus, and SetFocus on the field returns no previous window. The field
// gets it back, its text selected (in a child, as a focus that cannot reach the field ends
// the program: fatal_exits_test.cpp).
TEST(FieldError, TheFocusComesBackToTheFieldAfterAnotherProgramTookIt) {
  const ChildResult r = RunChild("field-error-focus-taken");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output.rfind("BOX|Orvane 2 - Error|Invalid number|", 0), 0u) << r.output;
  EXPECT_NE(r.output.find("FOCUS field 0-3\n"), std::string::npos) << r.output;
}

}  // namespace
