// The dialog templates as the resource script stores them: every control's id, class, text,
// style and rectangle, in tab order, read straight from the resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "resources/resource_ids.h"

namespace {

using Item = TemplateItem;
using Template = DialogTemplate;
Template Load(const char *name) { return LoadDialogTemplate(name); }

const DWORD kChild = WS_CHILD | WS_VISIBLE;

void ExpectItems(const Template &t, const std::vector<Item> &want) {
  ASSERT_EQ(t.items.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Item &g = t.items[i];
    const Item &w = want[i];
    SCOPED_TRACE(testing::Message() << "control " << w.id);
    EXPECT_EQ(g.id, w.id);
    EXPECT_EQ(g.className, w.className);
    EXPECT_EQ(g.text, w.text);
    EXPECT_EQ(g.style, w.style | kChild) << std::hex << g.style << " " << (w.style | kChild);
    EXPECT_EQ(g.x, w.x);
    EXPECT_EQ(g.y, w.y);
    EXPECT_EQ(g.cx, w.cx);
    EXPECT_EQ(g.cy, w.cy);
  }
}

// Both dialogs are in 8-point "MS Shell Dlg 2", with a caption, a system menu and a modal frame.
void ExpectDialog(const Template &t, DWORD extraStyle, const char *title, short x, short y,
                  short cx, short cy) {
  EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                        DS_SHELLFONT | extraStyle));
  EXPECT_EQ(t.title, title);
  EXPECT_EQ(t.x, x);
  EXPECT_EQ(t.y, y);
  EXPECT_EQ(t.cx, cx);
  EXPECT_EQ(t.cy, cy);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.font, "MS Shell Dlg 2");
}

TEST(DialogTemplates, SetLocationAsTabled) {
  const Template t = Load("DIAL_SET_LOCATION");
  ExpectDialog(t, 0, "Set Location", 24, 15, 250, 164);
  const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  const DialogRect &zone = kZoneFieldPlace;
  ExpectItems(t, {
      {114, "STATIC", "&Location:", SS_LEFT, 7, 8, 32, 12},
      {115, "COMBOBOX", "", CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 42, 7, 188, 66},
      {134, "BUTTON", "", BS_GROUPBOX, 8, 76, 120, 49},
      {126, "STATIC", "Longi&tude:", SS_LEFT, 16, 85, 40, 11},
      {127, "EDIT", "", edit | ES_LEFT, 58, 85, 16, 12},
      {125, "STATIC", "\xb0", SS_LEFT, 75, 85, 4, 12},
      {128, "EDIT", "", edit, 82, 85, 12, 12},
      {129, "STATIC", "'", SS_LEFT, 96, 85, 4, 12},
      {130, "EDIT", "", edit, 103, 85, 12, 12},
      {131, "STATIC", "\"", SS_LEFT, 118, 85, 4, 12},
      {132, "BUTTON", "&West", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 18, 101, 36, 11},
      {133, "BUTTON", "&East", BS_AUTORADIOBUTTON, 18, 112, 36, 11},
      {135, "STATIC", "Time &Zone:", SS_LEFT | WS_GROUP, 136, 84, 44, 9},
      {136, "EDIT", "", edit, zone.x, zone.y, zone.cx, zone.cy},
      {139, "STATIC", "Hours", SS_LEFT, 216, 84, 26, 10},
      {199, "BUTTON", "&USA Daylight Savings Time", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 136, 104, 108, 14},
      {200, "BUTTON", "Daylight saving as in Wi&ndows", BS_AUTOCHECKBOX | WS_TABSTOP, 136, 118, 112, 14},
      {1, "BUTTON", "&OK", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 60, 144, 35, 13},
      {141, "BUTTON", "&Save", BS_PUSHBUTTON | WS_TABSTOP, 108, 144, 35, 13},
      {2, "BUTTON", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP, 156, 144, 35, 13},
  });
}

TEST(DialogTemplates, AboutAsTabled) {
  const Template t = Load("DIAL_ABOUT");
  ExpectDialog(t, WS_VISIBLE, "Orvane 2", 12, 17, 172, 180);
  ExpectItems(t, {
      {114, "STATIC", "Orvane 2 v. 2.02 for Windows 95, Windows 98, and NT", SS_LEFT, 8, 7, 135, 55},
      {118, "STATIC", "ICONX", SS_ICON, 148, 7, 20, 20},
      {2, "BUTTON", "&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 164, 40, 12},
  });
}

TEST(Resources, StringsMenusAndAcceleratorsAsTheProgramShowsThem) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  char text[81];
  const struct {
    int id;
    const char *text;
  } strings[] = {
      {IDS_LONGITUDE_RANGE, "Longitude must be between 0\xb0 and 180\xb0"},
      {IDS_SETTINGS_PATH, "Software\\Corvanta\\Orvane 2\\"},
      {IDS_HIDE_MENU_BAR, "Hide Menu Bar\tF10"},
      {IDS_ABBREV_BASE + 3, "LST"},
      {IDS_REGISTRY_ERROR, "Cannot store/retrieve data to/from the registry"},
      {IDS_NAME_HAS_SEPARATOR, "Location name cannot contain |"},
      {IDS_ZONE_RANGE, "Time zone must be between -12 and 14 hours"},
      {IDS_UT_DISAGREES, "%s's time zone gives UT %s, but this computer's clock says UT is %s."},
      {IDS_KEY_UT_FROM_WINDOWS, "UTFromWindows"},
  };
  for (const auto &s : strings) {
    LoadStringA(self, static_cast<UINT>(s.id), text, sizeof text);
    EXPECT_STREQ(text, s.text);
  }
  // Every item of the menu bar, in order: a popup's title, then its items with their ids.
  HMENU menu = LoadMenuA(self, "MENUS");
  ASSERT_NE(menu, nullptr);
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    items.push_back(text);
    HMENU popup = GetSubMenu(menu, i);
    for (int j = 0; popup != nullptr && j < GetMenuItemCount(popup); ++j) {
      if (GetMenuStringA(popup, static_cast<UINT>(j), text, sizeof text, MF_BYPOSITION) == 0) {
        items.push_back("  -");
      } else {
        items.push_back("  " + std::string(text) + " " + std::to_string(GetMenuItemID(popup, j)));
      }
    }
  }
  const std::vector<std::string> wantItems = {
      "&File",
      "  E&xit 51",
      "&Location",
      "  &Set Location... 130",
      "&Time",
      "  &Local Mean Time (12 hr format)\tF5 100",
      "  Local &Mean Time (24 hr format)\tF6 101",
      "  &Universal Time\tF7 102",
      "  -",
      "  Local &Sidereal Time\tF8 103",
      "  &Greenwich Sidereal Time\tF9 104",
      "  -",
      "  Universal Time from &Windows 154",
      "  A&pparent Sidereal Time 155",
      "  Night C&olours\tCtrl+N 153",
      "  -",
      "  Si&dereal Time... 156",
      "  Check the &Computer's Clock... 157",
      "  Correct the Shown Time by the Ser&ver 158",
      "&Chimes",
      "  &None 110",
      "  &Single 111",
      "  &Multiple 112",
      "&Help",
      "  &Index 31",
      "  &Keyboard 32",
      "  &Using Help 35",
      "  -",
      "  Visit Our &Web Site 38",
      "  -",
      "  &About Orvane 2... 36",
  };
  EXPECT_EQ(items, wantItems);
  EXPECT_NE(GetMenuState(menu, IDM_LMT12, MF_BYCOMMAND) & MF_CHECKED, 0u);
  DestroyMenu(menu);

  // The accelerators, in order: plain virtual keys, and Ctrl+N for Night Colours.
  HACCEL table = LoadAcceleratorsA(self, "ACCELS");
  ACCEL keys[16];
  const int n = CopyAcceleratorTableA(table, keys, 16);
  const WORD want[][3] = {{VK_F1, 31, FVIRTKEY},  {VK_F10, 150, FVIRTKEY}, {VK_F11, 151, FVIRTKEY},
                          {VK_F5, 100, FVIRTKEY}, {VK_F6, 101, FVIRTKEY},  {VK_F7, 102, FVIRTKEY},
                          {VK_F8, 103, FVIRTKEY}, {VK_F9, 104, FVIRTKEY},
                          {'N', IDM_NIGHT_COLOURS, FVIRTKEY | FCONTROL}};
  ASSERT_EQ(n, 9);
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(keys[i].key, want[i][0]);
    EXPECT_EQ(keys[i].cmd, want[i][1]);
    EXPECT_EQ(keys[i].fVirt & ~0x80, want[i][2]);
  }
  DestroyAcceleratorTable(table);
}

// The icon in every size Windows asks for (small icons at 100 % to 200 %, large ones, the
// 256-pixel one of Explorer's big views), each 32-bit with alpha, so that none is scaled.
TEST(Resources, IconComesInEverySizeWindowsAsksFor) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, "ICONX", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const BYTE *group = static_cast<const BYTE *>(LockResource(LoadResource(self, found)));
  WORD count = 0;
  std::memcpy(&count, group + 4, 2);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE *entry = group + 6 + 14 * i;  // width, height, colours, 0, planes, bits, bytes, id
    WORD bits = 0;
    std::memcpy(&bits, entry + 6, 2);
    EXPECT_EQ(bits, 32) << i;
    sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  for (int size : {16, 20, 24, 32, 48, 256}) {
    HICON icon = static_cast<HICON>(LoadImageA(self, "ICONX", IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    DestroyIcon(icon);
  }
}

std::string VersionValue(const void *block, const char *name) {
  char path[64];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\040904E4\\%s", name);
  char *value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block, path, reinterpret_cast<void **>(&value), &length)) return "<none>";
  return value;
}

TEST(Resources, VersionRecordNamesTheProductAndMaker) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(self, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, block.data()));
  EXPECT_EQ(VersionValue(block.data(), "ProductName"), "Orvane 2");
  EXPECT_EQ(VersionValue(block.data(), "CompanyName"), "Corvanta");
  EXPECT_EQ(VersionValue(block.data(), "ProductVersion"), "2.02");
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020002u);  // 2.2 as numbers: 2.02
}

}  // namespace
