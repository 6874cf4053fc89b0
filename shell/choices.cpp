// The table of saved choices and the four things done with it: applying the stored values at
// start-up, carrying out a choice's command, showing every mark, and the reset. Win32.
#include "shell/choices.h"

#include "astro/apparent.h"
#include "astro/clock_reading.h"
#include "astro/universal_time.h"
#include "display/chimes.h"
#include "display/clock_face.h"
#include "resources/resource_ids.h"
#include "shell/clock_state.h"
#include "shell/night_menus.h"
#include "shell/server_correction.h"
#include "shell/tick_arming.h"
#include "support/settings.h"
#include "support/time_correction.h"

namespace {

enum ChoiceKind {
  kOneOfMany,  // a command per value, from `command` on; kept and stored only when it changes
  kOnOff,      // one command turns it over; stored, 0 or 1, at every command
  kOnOffPair,  // `command` turns it on, the next one off; the one that would do nothing is greyed
};

// How a stored value is read; whatever the rule refuses reads as the default.
enum ReadRule {
  kInRange,     // 0 up to the number of values
  kOnlyOne,     // 1 is on, anything else off
  kAnyNonZero,  // anything but 0 is on
};

enum ChoiceMenus : unsigned { kMenuBar = 1, kSystemMenu = 2 };

struct ChoiceRow {
  ChoiceId id;
  ChoiceKind kind;
  int values;  // how many values it takes (kOneOfMany); 2 for the others
  int keyText;
  int defaultValue;
  ReadRule read;
  UINT command;
  unsigned menus;        // which carry its marks and answer its commands
  int systemMenuText;    // the text of its first system-menu item; the next ones follow
  bool separatorBefore;  // in the system menu
  void (*adopt)(int value);             // what the portable parts follow; may be null
  void (*apply)(HWND window, int value);  // what changes on the screen; may be null
};

// What the face shows has moved the phase of its seconds (a sidereal scale, or another UT):
// the next tick is aimed at the new one, not left where the old one would have turned.
void AimNextTick(HWND window) {
  ReadClockAndArmNextTick(window, ShownTimeKind(), g_clock.location);
}

void ShowTimeKind(HWND window, int kind) {
  AimNextTick(window);
  SetNormalCaption(kind, g_clock.productName);
  InvalidateRect(window, nullptr, TRUE);
  // The text of TimeKind 0 is longer than the others: the font must be made again.
  SendMessageA(window, WM_SIZE, 0, 0);
  RewriteMinimisedCaption(window);
}

void ShowMenuBar(HWND window, int hidden) {
  SetMenu(window, hidden != 0 ? nullptr : g_clock.mainMenu);  // the state keeps the menu
  DrawMenuBar(window);
}

void PlaceOnTop(HWND window, int on) {
  SetWindowPos(window, on != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void AdoptChimeMode(int mode) { SetChimeMode(mode); }
void AdoptNightColours(int on) { SetNightColours(on != 0); }
void AdoptUtFromWindows(int on) { SetUniversalTimeFromComputer(on != 0); }
void AdoptApparent(int on) { SetApparentSiderealTime(on != 0); }

void AdoptServerCorrection(int on) {
  SetCorrectionOn(&g_timeCorrection, on != 0, static_cast<std::int64_t>(GetTickCount64()));
}
void TurnCorrection(HWND window, int on) { TurnServerCorrection(window, on != 0); }

void ShowNight(HWND window, int) {
  InvalidateRect(window, nullptr, TRUE);
  ShowNightColours(window);  // the menus, the title bars and the other windows
}

void ShowUtSource(HWND window, int) {
  AimNextTick(window);
  InvalidateRect(window, nullptr, TRUE);
  // The system menu can be had from the taskbar: a minimised caption would keep the old UT.
  RewriteMinimisedCaption(window);
}

// The captions name mean or apparent time.
void ShowApparent(HWND window, int) {
  AimNextTick(window);
  if (!IsIconic(window)) SetNormalCaption(ShownTimeKind(), g_clock.productName);
  InvalidateRect(window, nullptr, TRUE);
  RewriteMinimisedCaption(window);
}

constexpr unsigned kBoth = kMenuBar | kSystemMenu;

// In ChoiceId order, which is also the order of start-up and of the system menu.
const ChoiceRow kRows[kChoiceCount] = {
    {kChoiceTime, kOneOfMany, kTimeKindCount, IDS_KEY_TIME, kLmt12, kInRange, IDM_TIME_BASE,
     kMenuBar, 0, false, nullptr, ShowTimeKind},
    {kChoiceMenuBarHidden, kOnOffPair, 2, IDS_KEY_MENUS, 0, kOnlyOne, IDM_HIDE_MENU_BAR,
     kSystemMenu, IDS_HIDE_MENU_BAR, true, nullptr, ShowMenuBar},
    {kChoiceSound, kOneOfMany, kChimeMultiple + 1, IDS_KEY_SOUND, kChimeMultiple, kInRange,
     IDM_CHIME_BASE, kMenuBar, 0, false, AdoptChimeMode, nullptr},
    {kChoiceOnTop, kOnOff, 2, IDS_KEY_ON_TOP, 0, kAnyNonZero, IDM_ALWAYS_ON_TOP, kSystemMenu,
     IDS_ALWAYS_ON_TOP, true, nullptr, PlaceOnTop},
    // Also in the system menu, so that it can be had with the menu bar hidden.
    {kChoiceNight, kOnOff, 2, IDS_KEY_NIGHT, 0, kOnlyOne, IDM_NIGHT_COLOURS, kBoth,
     IDS_NIGHT_COLOURS, false, AdoptNightColours, ShowNight},
    // Anything but 1 leaves it off: the clock then reads UT as it always has.
    {kChoiceUtFromWindows, kOnOff, 2, IDS_KEY_UT_FROM_WINDOWS, 0, kOnlyOne,
     IDM_UT_FROM_WINDOWS, kBoth, IDS_UT_FROM_WINDOWS, false, AdoptUtFromWindows, ShowUtSource},
    // Also in the system menu: an observer at the mount often has the menu bar hidden.
    {kChoiceApparent, kOnOff, 2, IDS_KEY_APPARENT, 0, kOnlyOne, IDM_APPARENT, kBoth,
     IDS_APPARENT, false, AdoptApparent, ShowApparent},
    // Nothing is sent to a server unless this is 1.
    {kChoiceServerCorrection, kOnOff, 2, IDS_KEY_SERVER_CORRECTION, 0, kOnlyOne,
     IDM_SERVER_CORRECTION, kMenuBar, 0, false, AdoptServerCorrection, TurnCorrection},
};

int CommandCount(const ChoiceRow &row) {
  return row.kind == kOneOfMany ? row.values : row.kind == kOnOffPair ? 2 : 1;
}

void SetValue(const ChoiceRow &row, int value) {
  g_clock.choice[row.id] = value;
  if (row.adopt != nullptr) row.adopt(value);
}

int ReadStoredValue(const ChoiceRow &row) {
  char key[kTextSize];
  LoadText(row.keyText, key);
  const int stored = ReadSettingInt(key, row.defaultValue);
  switch (row.read) {
    case kInRange:
      return stored >= 0 && stored < row.values ? stored : row.defaultValue;
    case kOnlyOne:
      return stored == 1 ? 1 : 0;
    case kAnyNonZero:
      return stored != 0 ? 1 : 0;
  }
  return row.defaultValue;
}

void StoreValue(const ChoiceRow &row, int value) {
  char key[kTextSize];
  LoadText(row.keyText, key);
  WriteSettingInt(key, value);
}

// The value command `id` gives the row, or -1 when it is not the row's.
int ValueOfCommand(const ChoiceRow &row, UINT id) {
  if (id < row.command || id >= row.command + static_cast<UINT>(CommandCount(row))) return -1;
  const int index = static_cast<int>(id - row.command);
  switch (row.kind) {
    case kOneOfMany:
      return index;
    case kOnOff:
      return g_clock.choice[row.id] != 0 ? 0 : 1;
    case kOnOffPair:
      return index == 0 ? 1 : 0;
  }
  return -1;
}

// The item of command `index` of the row: ticked when it is the value, or for a pair greyed
// when choosing it would change nothing.
void MarkItem(HMENU menu, const ChoiceRow &row, int index) {
  if (menu == nullptr) return;
  const int value = g_clock.choice[row.id];
  const UINT id = row.command + static_cast<UINT>(index);
  if (row.kind == kOnOffPair) {
    const bool idle = (index == 0) == (value != 0);
    const UINT state = idle ? MF_GRAYED : MF_ENABLED;
    EnableMenuItem(menu, id, MF_BYCOMMAND | state);
    return;
  }
  const bool ticked = row.kind == kOneOfMany ? value == index : value != 0;
  const UINT mark = ticked ? MF_CHECKED : MF_UNCHECKED;
  CheckMenuItem(menu, id, MF_BYCOMMAND | mark);
}

}  // namespace

void AppendChoicesToSystemMenu(HMENU systemMenu) {
  char text[kTextSize];
  for (const ChoiceRow &row : kRows) {
    if ((row.menus & kSystemMenu) == 0) continue;
    if (row.separatorBefore) AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < CommandCount(row); ++i) {
      LoadText(row.systemMenuText + i, text);
      AppendMenuA(systemMenu, MF_STRING, row.command + static_cast<UINT>(i), text);
    }
  }
}

void ApplySavedChoices(HWND window) {
  for (const ChoiceRow &row : kRows) {
    const int value = ReadStoredValue(row);
    UINT command = row.command;
    if (row.kind == kOneOfMany) {
      // Taken at once; the posted command then finds nothing changed and writes nothing back.
      SetValue(row, value);
      command += static_cast<UINT>(value);
    } else if (value == 0) {
      continue;  // off, as it starts
    }
    const UINT message = (row.menus & kMenuBar) != 0 ? WM_COMMAND : WM_SYSCOMMAND;
    PostMessageA(window, message, static_cast<WPARAM>(command), 0);
  }
}

bool CarryOutChoiceCommand(HWND window, UINT message, WPARAM command) {
  const unsigned menu = message == WM_COMMAND ? kMenuBar : kSystemMenu;
  const UINT id = message == WM_COMMAND ? LOWORD(command) : static_cast<UINT>(command);
  for (const ChoiceRow &row : kRows) {
    if ((row.menus & menu) == 0) continue;
    const int value = ValueOfCommand(row, id);
    if (value < 0) continue;
    MakeChoice(window, row.id, value);
    return true;
  }
  return false;
}

void MakeChoice(HWND window, ChoiceId which, int value) {
  const ChoiceRow &row = kRows[which];
  const int old = g_clock.choice[which];
  SetValue(row, value);
  ShowChoiceMarks();
  if (row.apply != nullptr) row.apply(window, value);
  // A value chosen again is not written over: a stored one this program reads as the default
  // (another version's) stays. An on/off command always changes its value.
  if (row.kind != kOneOfMany || value != old) StoreValue(row, value);
}

void ShowChoiceMarks() {
  for (const ChoiceRow &row : kRows) {
    for (int i = 0; i < CommandCount(row); ++i) {
      if ((row.menus & kMenuBar) != 0) MarkItem(g_clock.mainMenu, row, i);
      if ((row.menus & kSystemMenu) != 0) MarkItem(g_clock.systemMenu, row, i);
    }
  }
}

void ResetChoices() {
  for (const ChoiceRow &row : kRows) SetValue(row, row.defaultValue);
}
