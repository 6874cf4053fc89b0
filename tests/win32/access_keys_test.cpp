// Access keys: no letter may lead to two controls of one dialog or two items of one menu,
// since Windows then only moves between them instead of choosing one.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "clock_window.h"
#include "dialog_template.h"

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
  for (const char *dialog : {"DIAL_SET_LOCATION", "DIAL_ABOUT"}) {
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

}  // namespace
