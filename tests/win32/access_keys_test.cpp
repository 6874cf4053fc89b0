// Access keys: no letter may lead to two controls of one dialog or two items of one menu,
// since Windows then only moves between them instead of choosing one; and at night, when the
// menus are drawn by the clock, each key still chooses its item.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "clock_window.h"
#include "dialog_template.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"

namespace {

struct Labelled {
  std::string where;
  std::vector<std::string> texts;
};

void ExpectUniqueKeys(const Labelled &list) {
  std::map<char, std::string> seen;
  for (const std::string &text : list.texts) {
    const char key = AccessKey(text);
    if (key == 0) continue;
    auto found = seen.find(key);
    EXPECT_TRUE(found == seen.end())
        << list.where << ": '" << key << "' in \"" << text << "\" and \"" << found->second << "\"";
    seen[key] = text;
  }
}

std::string ItemText(HMENU menu, int at) {
  char text[128] = "";
  GetMenuStringA(menu, static_cast<UINT>(at), text, sizeof text, MF_BYPOSITION);
  return text;
}

// A menu and, in turn, each of its popups.
void CollectMenus(HMENU menu, const std::string &where, std::vector<Labelled> *out) {
  Labelled list{where, {}};
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    list.texts.push_back(ItemText(menu, i));
    if (HMENU popup = GetSubMenu(menu, i)) CollectMenus(popup, where + " > " + ItemText(menu, i), out);
  }
  out->push_back(list);
}

using AccessKeys = ClockWindow;

TEST_F(AccessKeys, AreUniqueInEachDialogAndMenuTheSystemMenuWithWindowsOwnItems) {
  std::vector<Labelled> lists;
  for (const char *dialog :
       {"DIAL_SET_LOCATION", "DIAL_ABOUT", "DIAL_SIDEREAL", "DIAL_CHECK_CLOCK"}) {
    Labelled list{dialog, {}};
    for (const TemplateItem &item : LoadDialogTemplate(dialog).items) list.texts.push_back(item.text);
    lists.push_back(list);
  }
  HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), "MENUS");
  ASSERT_NE(bar, nullptr);
  CollectMenus(bar, "menu bar", &lists);
  DestroyMenu(bar);
  // The system menu as the clock builds it: its own items, and those of Windows as Windows
  // names them (Wine's own texts may differ).
  Open();
  HMENU system = GetSystemMenu(window_, FALSE);
  Labelled list{"system menu", {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "&Close\tAlt+F4"}};
  for (int i = 0; i < GetMenuItemCount(system); ++i) {
    if (GetMenuItemID(system, i) < 0xF000) list.texts.push_back(ItemText(system, i));
  }
  lists.push_back(list);
  for (const Labelled &each : lists) ExpectUniqueKeys(each);
}

LRESULT MenuChar(HWND window, char typed, WORD kind, HMENU menu) {
  return SendMessageA(window, WM_MENUCHAR, MAKEWPARAM(static_cast<BYTE>(typed), kind),
                      reinterpret_cast<LPARAM>(menu));
}

// Windows matches no access key of an owner-drawn item: it sends WM_MENUCHAR (Alt+T on the
// bar, a letter in an open menu or the system menu) and acts on the answer. At night each
// item's key, typed in either case, must choose that item of every menu as it does by day;
// a key of no item is left to the system; and where two items share a key, each press
// highlights the next of them, as Windows does.
TEST_F(AccessKeys, AtNightEachItemsKeyChoosesItThroughWmMenuChar) {
  Open();
  std::vector<std::pair<HMENU, WORD>> menus = {{g_clock.mainMenu, 0},
                                               {GetSystemMenu(window_, FALSE), MF_SYSMENU}};
  for (int i = 0; i < GetMenuItemCount(g_clock.mainMenu); ++i) {
    menus.push_back({GetSubMenu(g_clock.mainMenu, i), MF_POPUP});
  }
  std::vector<std::vector<std::string>> texts(menus.size());  // as by day
  for (std::size_t m = 0; m < menus.size(); ++m) {
    const HMENU menu = menus[m].first;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) texts[m].push_back(ItemText(menu, i));
  }
  Command(IDM_NIGHT_COLOURS);
  int keys = 0;
  for (std::size_t m = 0; m < menus.size(); ++m) {
    const auto [menu, kind] = menus[m];
    for (std::size_t i = 0; i < texts[m].size(); ++i) {
      const char key = AccessKey(texts[m][i]);
      if (key == 0) continue;
      keys += 2;
      for (char typed : {key, static_cast<char>(std::tolower(static_cast<unsigned char>(key)))}) {
        EXPECT_EQ(MenuChar(window_, typed, kind, menu), MAKELRESULT(i, MNC_EXECUTE)) << typed;
      }
    }
    const LRESULT systems = DefWindowProcA(window_, WM_MENUCHAR, MAKEWPARAM('q', kind),
                                           reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(MenuChar(window_, 'q', kind, menu), systems);
  }
  EXPECT_GE(keys, 50) << "the bar, its menus and the system menu";
  HMENU file = menus[2].first;  // "E&xit" only, and now "E&xample"
  AppendMenuA(file, MF_STRING, 999, "E&xample");
  SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  for (int highlighted : {-1, 0, 1}) {
    MENUITEMINFOA state = {};
    state.cbSize = sizeof state;
    state.fMask = MIIM_STATE;
    for (int at : {0, 1}) {
      state.fState = at == highlighted ? MFS_HILITE : 0u;
      SetMenuItemInfoA(file, static_cast<UINT>(at), TRUE, &state);
    }
    EXPECT_EQ(MenuChar(window_, 'x', MF_POPUP, file), MAKELRESULT(highlighted == 0 ? 1 : 0, MNC_SELECT))
        << highlighted;
  }
}

}  // namespace
