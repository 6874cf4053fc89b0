// Night Colours for the menus: each item of the menu bar, its menus and the system menu is
// owner-drawn while they are on, from the text it had, and given back as it was when they
// go off. Win32.
#include "shell/night_menus.h"

#include <cstring>

#include "display/clock_face.h"
#include "display/night_paint.h"
#include "display/night_palette.h"
#include "shell/clock_state.h"
#include "shell/menu_metrics.h"

namespace {

// What an owner-drawn item was; its item data points here.
struct NightItem {
  bool used;
  bool bar;  // an item of the menu bar itself
  bool separator;
  HMENU menu;
  char text[kTextSize];
};
NightItem g_items[192];
// Made when Night Colours come on, for the window's DPI, and made again when it or the
// system's menu font changes.
MenuMetrics g_metrics = {};

NightItem *Owned(ULONG_PTR data) {
  for (NightItem &item : g_items) {
    if (reinterpret_cast<ULONG_PTR>(&item) == data && item.used) return &item;
  }
  return nullptr;
}

NightItem *NewItem() {
  for (NightItem &item : g_items) {
    if (!item.used || !IsMenu(item.menu)) return &item;  // free, or its menu is gone
  }
  return nullptr;
}

void ConvertMenu(HMENU menu, bool bar, bool on) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    NightItem *mine = Owned(info.dwItemData);
    MENUITEMINFOA change = {};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    if (on && (info.fType & MFT_OWNERDRAW) == 0) {
      NightItem *item = NewItem();
      if (item == nullptr) continue;  // more items than ever met: the system draws it
      *item = NightItem{true, bar, (info.fType & MFT_SEPARATOR) != 0, menu, ""};
      GetMenuStringA(menu, static_cast<UINT>(i), item->text, kTextSize, MF_BYPOSITION);
      change.fType = info.fType | MFT_OWNERDRAW;
      change.dwItemData = reinterpret_cast<ULONG_PTR>(item);
      SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
    } else if (!on && mine != nullptr) {
      change.fType = info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
      if (!mine->separator) {
        change.fMask |= MIIM_STRING;
        change.dwTypeData = mine->text;
      }
      SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
      mine->used = false;
    }
    if (info.hSubMenu != nullptr) ConvertMenu(info.hSubMenu, false, on);
  }
}

void SetMenuBackground(HMENU menu) {
  MENUINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = NightColours() ? ShownBrush(COLOR_MENU) : nullptr;
  SetMenuInfo(menu, &info);
}

// The text of an item in its two parts: the name and, after a tab, its key.
void SplitAtTab(const char *text, char *name, char *key) {
  std::strncpy(name, text, kTextSize - 1);
  name[kTextSize - 1] = '\0';
  key[0] = '\0';
  char *tab = std::strchr(name, '\t');
  if (tab != nullptr) {
    std::strncpy(key, tab + 1, kTextSize - 1);
    key[kTextSize - 1] = '\0';
    *tab = '\0';
  }
}

int TextWidth(HDC dc, const char *text) {
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
  return r.right - r.left;
}

// Windows sets a menu's keys in one column after the longest name that has a key: the menu
// is as wide as that column or as its widest item, whichever is wider.
int PopupWidth(HDC dc, HMENU menu, int gap) {
  int widest = 0;
  int keyedName = 0;
  int keyWidth = 0;
  for (const NightItem &other : g_items) {
    if (!other.used || other.separator || other.menu != menu) continue;
    char name[kTextSize];
    char key[kTextSize];
    SplitAtTab(other.text, name, key);
    const int nameWidth = TextWidth(dc, name);
    int own = nameWidth;
    if (key[0] != '\0') {
      const int width = TextWidth(dc, key);
      own += gap + width;
      keyedName = nameWidth > keyedName ? nameWidth : keyedName;
      keyWidth = width > keyWidth ? width : keyWidth;
    }
    widest = own > widest ? own : widest;
  }
  const int column = keyWidth > 0 ? keyedName + gap + keyWidth : 0;
  return column > widest ? column : widest;
}

void Measure(HWND window, const NightItem &item, MEASUREITEMSTRUCT *m) {
  const int check = g_metrics.checkWidth;
  const int bar = g_metrics.barHeight;
  if (item.separator) {
    m->itemWidth = 0;
    m->itemHeight = static_cast<UINT>(bar / 2);
    return;
  }
  char name[kTextSize];
  char key[kTextSize];
  SplitAtTab(item.text, name, key);
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, g_metrics.font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  int width = TextWidth(dc, name);
  if (key[0] != '\0') width += 2 * check + TextWidth(dc, key);
  if (!item.bar) width = PopupWidth(dc, item.menu, 2 * check);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  m->itemWidth = static_cast<UINT>(item.bar ? width : width + 2 * check);
  const int height = metrics.tmHeight + g_metrics.padding;
  m->itemHeight = static_cast<UINT>(item.bar ? bar : height);
}

void DrawTick(HDC dc, const RECT &box, COLORREF colour) {
  const int size = box.right - box.left;
  const int midY = (box.top + box.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, size / 8 > 1 ? size / 8 : 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  const POINT tick[3] = {{box.left + size / 4, midY},
                         {box.left + size / 2 - 1, midY + size / 4},
                         {box.right - size / 4, midY - size / 4}};
  Polyline(dc, tick, 3);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void Draw(const NightItem &item, const DRAWITEMSTRUCT *d) {
  HDC dc = d->hDC;
  RECT r = d->rcItem;
  const bool chosen = !item.separator && (d->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  const bool grey = (d->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  FillRect(dc, &r, ShownBrush(chosen ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int check = g_metrics.checkWidth;
  if (item.separator) {
    RECT line = {r.left + check / 2, (r.top + r.bottom) / 2, r.right - check / 2, 0};
    line.bottom = line.top + 1;
    FillRect(dc, &line, ShownBrush(COLOR_GRAYTEXT));
    return;
  }
  const COLORREF colour = grey ? kNightDim : chosen ? kNightBright : kNightInk;
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, g_metrics.font);
  // The access keys are underlined only while Windows shows keyboard cues.
  const UINT flags = DT_SINGLELINE | DT_VCENTER | ((d->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  char name[kTextSize];
  char key[kTextSize];
  SplitAtTab(item.text, name, key);
  if (item.bar) {
    DrawTextA(dc, name, -1, &r, flags | DT_CENTER);
  } else {
    RECT box = {r.left, r.top, r.left + check, r.bottom};
    if ((d->itemState & ODS_CHECKED) != 0) DrawTick(dc, box, colour);
    r.left += check;
    DrawTextA(dc, name, -1, &r, flags | DT_LEFT);
    r.right -= check;
    DrawTextA(dc, key, -1, &r, flags | DT_RIGHT);
  }
  SelectObject(dc, old);
}

// Windows fills the menu bar beyond its last item, and the line under it, in its own colour.
void DarkenRestOfMenuBar(HWND window) {
  MENUBARINFO bar = {};
  bar.cbSize = sizeof bar;
  const int count = g_clock.mainMenu != nullptr ? GetMenuItemCount(g_clock.mainMenu) : 0;
  RECT last;
  if (GetMenu(window) == nullptr || count <= 0 || !GetMenuBarInfo(window, OBJID_MENU, 0, &bar) ||
      !GetMenuItemRect(window, g_clock.mainMenu, static_cast<UINT>(count - 1), &last)) {
    return;
  }
  RECT frame;
  GetWindowRect(window, &frame);
  POINT client = {0, 0};
  ClientToScreen(window, &client);
  HDC dc = GetWindowDC(window);
  const RECT rest = {last.right - frame.left, bar.rcBar.top - frame.top,
                     bar.rcBar.right - frame.left, bar.rcBar.bottom - frame.top};
  const RECT under = {bar.rcBar.left - frame.left, bar.rcBar.bottom - frame.top,
                      bar.rcBar.right - frame.left, client.y - frame.top};
  FillRect(dc, &rest, ShownBrush(COLOR_MENU));
  FillRect(dc, &under, ShownBrush(COLOR_MENU));
  ReleaseDC(window, dc);
}

// Windows keeps an owner-drawn item's size until the item changes: setting its type again
// has it measured anew.
void Remeasure(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_OWNERDRAW) != 0) {
      info.fMask = MIIM_FTYPE;
      SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    }
    if (info.hSubMenu != nullptr) Remeasure(info.hSubMenu);
  }
}

void RemakeMetrics(HWND window, int dpi) {
  MakeMenuMetrics(dpi, &g_metrics);
  if (g_clock.mainMenu != nullptr) Remeasure(g_clock.mainMenu);
  Remeasure(GetSystemMenu(window, FALSE));
  DrawMenuBar(window);
}

// The access key of an item: the character after a single '&' ("&&" is an ampersand).
unsigned char AccessKeyOf(const char *text) {
  for (const char *p = text; *p != '\0' && *p != '\t'; ++p) {
    if (*p != '&') continue;
    if (p[1] != '&') return static_cast<unsigned char>(p[1]);
    ++p;
  }
  return 0;
}

unsigned char UpperInAnsiCodePage(unsigned char c) {
  char one[1] = {static_cast<char>(c)};
  CharUpperBuffA(one, 1);
  return static_cast<unsigned char>(one[0]);
}

// Windows matches no access key of an owner-drawn item: it asks the window. The item whose
// key was typed is chosen, as by day (a menu of the bar opens); where several share the
// key, the next of them after the one highlighted is highlighted instead.
bool AnswerMenuChar(HMENU menu, unsigned char typed, LRESULT *result) {
  const unsigned char key = UpperInAnsiCodePage(typed);
  const int count = key != 0 && menu != nullptr ? GetMenuItemCount(menu) : 0;
  int first = -1, next = -1, highlighted = -1, matches = 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_STATE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fState & MFS_HILITE) != 0) highlighted = i;
    const NightItem *item = Owned(info.dwItemData);
    if (item == nullptr || item->separator || UpperInAnsiCodePage(AccessKeyOf(item->text)) != key) {
      continue;
    }
    ++matches;
    if (first < 0) first = i;
    if (next < 0 && highlighted >= 0 && i > highlighted) next = i;
  }
  if (matches == 0) return false;  // the system's answer: a beep, or its own items
  *result = matches == 1 ? MAKELRESULT(first, MNC_EXECUTE)
                         : MAKELRESULT(next >= 0 ? next : first, MNC_SELECT);
  return true;
}

}  // namespace

void ShowNightColours(HWND window) {
  const bool on = NightColours();
  // Made afresh each time: the window may be at another scale than when they were last on.
  if (on) MakeMenuMetrics(MenuWindowDpi(window), &g_metrics);
  HMENU menus[2] = {g_clock.mainMenu, GetSystemMenu(window, FALSE)};
  for (int i = 0; i < 2; ++i) {
    if (menus[i] == nullptr) continue;
    ConvertMenu(menus[i], i == 0, on);
    SetMenuBackground(menus[i]);
  }
  DrawMenuBar(window);
  ShowNightColoursInEveryWindow();
  if (!on) FreeMenuMetrics(&g_metrics);
}

bool NightMenuMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto *m = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
      const NightItem *item = m->CtlType == ODT_MENU ? Owned(m->itemData) : nullptr;
      if (item == nullptr) return false;
      Measure(window, *item, m);
      *result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto *d = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
      const NightItem *item = d->CtlType == ODT_MENU ? Owned(d->itemData) : nullptr;
      if (item == nullptr) return false;
      Draw(*item, d);
      *result = TRUE;
      return true;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      if (!NightColours()) return false;
      *result = DefWindowProcA(window, message, wParam, lParam);
      DarkenRestOfMenuBar(window);
      return true;
    case WM_MENUCHAR:
      return NightColours() && AnswerMenuChar(reinterpret_cast<HMENU>(lParam),
                                              static_cast<unsigned char>(LOWORD(wParam)), result);
    case WM_DPICHANGED:
      // The window's own handling (its new size) follows.
      if (NightColours()) RemakeMetrics(window, HIWORD(wParam));
      return false;
    case WM_SETTINGCHANGE:
      // The menu font or the scale may have changed; the window's own handling follows.
      if (NightColours()) RemakeMetrics(window, MenuWindowDpi(window));
      return false;
    case WM_INITMENUPOPUP:
      // An item added since the colours changed is drawn like the others.
      if (NightColours()) ConvertMenu(reinterpret_cast<HMENU>(wParam), false, true);
      return false;
    default:
      return false;
  }
}
