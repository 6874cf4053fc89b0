// Night Colours: the face painted dark red on black (the stored choice and its marks are rows
// of StoredChoices.*, its key is checked with the other accelerators), and every other window
// of the clock read back from the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "clock_window.h"
#include "display/clock_face.h"
#include "help/help_probe.h"
#include "help/help_window.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/settings_probe.h"

namespace {

using NightFace = ClockWindow;

// The face as the window paints it (erase, then the update), read back pixel by pixel.
std::vector<COLORREF> PaintedFace(HWND window, int width, int height) {
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));  // neither colour
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  UpdateClockFace(dc, ShownTimeKind(), g_clock.location, 1);
  std::vector<COLORREF> pixels = ReadPixels(dc, width, height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, screen);
  return pixels;
}

TEST_F(NightFace, PaintsDarkRedOnBlackAndTheUsualColoursOtherwise) {
  Open(400, 200);
  for (bool night : {false, true}) {
    SCOPED_TRACE(night ? "night" : "day");
    if (NightColours() != night) Command(IDM_NIGHT_COLOURS);
    const COLORREF background = night ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOW);
    const COLORREF text = night ? RGB(160, 0, 0) : GetSysColor(COLOR_WINDOWTEXT);
    int backgroundCount = 0, textCount = 0, other = 0;
    for (COLORREF p : PaintedFace(window_, 400, 200)) {
      if (p == background) {
        ++backgroundCount;
      } else if (p == text) {
        ++textCount;
      } else if (night && GetGValue(p) == 0 && GetBValue(p) == 0) {
        ++textCount;  // a smoothed edge of a figure: red on black still
      } else {
        ++other;
      }
    }
    EXPECT_GT(backgroundCount, 400 * 200 / 2) << "the whole face is the background colour";
    EXPECT_GT(textCount, 400) << "the figures are drawn in the text colour";
    if (night) {
      EXPECT_EQ(other, 0) << "nothing but red on black (smoothed edges being darker reds)";
    }
  }
}

// The pixels of a rectangle of a device context (in its own coordinates).
std::vector<COLORREF> PixelsOf(HDC dc, const RECT &r) {
  SetViewportOrgEx(dc, -r.left, -r.top, nullptr);
  return ReadPixels(dc, r.right - r.left, r.bottom - r.top);
}

// What a window shows in its client area, once everything in it has been drawn.
std::vector<COLORREF> Shown(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r;
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  std::vector<COLORREF> pixels = PixelsOf(dc, r);
  ReleaseDC(window, dc);
  return pixels;
}

// Every item of a menu and its submenus as the window draws it (Wine reads nothing back of
// a menu on the screen): an owner-drawn item is drawn, plain and chosen, on the menu colour;
// one the system draws leaves it as it is. `texts` gets each item's text.
void DrawMenuItems(HWND window, HMENU menu, std::vector<COLORREF> *pixels, std::string *texts) {
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 24);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[100] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    *texts += std::string(text) + "|";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED | ODS_CHECKED), static_cast<UINT>(ODS_GRAYED)}) {
      RECT all = {0, 0, 300, 24};
      FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
      if (info.fType & MFT_OWNERDRAW) {
        MEASUREITEMSTRUCT m = {ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
        DRAWITEMSTRUCT d = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state,
                            reinterpret_cast<HWND>(menu), dc, {0, 0, 300, 24}, info.dwItemData};
        SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
      }
      std::vector<COLORREF> drawn = ReadPixels(dc, 300, 24);
      pixels->insert(pixels->end(), drawn.begin(), drawn.end());
    }
    if (info.hSubMenu != nullptr) DrawMenuItems(window, info.hSubMenu, pixels, texts);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, screen);
}

// Windows gives a program the colours of a dialog's background and texts; the rest (buttons,
// check marks, frames, selections, scroll bars, the menus) is drawn by the program itself
// at night. Each window is read back as shown: at night nothing in it may carry green or
// blue above 24, and something must be drawn; by day its background is the system colour.
TEST_F(NightFace, EveryWindowIsRedOnBlackAtNightAndInTheSystemColoursByDay) {
  WriteFileBeside("ZORKEL.HLP", "== keys | Keyboard\r\nkeywords: keys\r\n"
                                "Keys, and [[keys|a link]] in the link colour.\r\n");
  Open(400, 200);
  std::string menuTexts;
  auto dialog = [this](int id) {
    std::vector<COLORREF> pixels;
    WithDialog(id, [&](HWND d) {
      ShowWindow(d, SW_SHOW);
      pixels = Shown(d);
      SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    return pixels;
  };
  auto help = [this] {
    Command(IDM_HELP_KEYBOARD);
    Pump();
    std::vector<COLORREF> pixels = Shown(HelpWindowHandle());
    ShowHelp(window_, g_clock.helpPath, HELP_QUIT, 0);
    return pixels;
  };
  struct Row {
    const char *what;
    std::function<std::vector<COLORREF>()> read;
    int background;  // the system colour it shows by day
    int ink;         // and one it must draw with, if any
  } rows[] = {
      {"client area", [this] { return Shown(window_); }, COLOR_WINDOW, -1},
      {"menus", [&] {
         std::vector<COLORREF> pixels;
         menuTexts.clear();
         DrawMenuItems(window_, g_clock.mainMenu, &pixels, &menuTexts);
         DrawMenuItems(window_, GetSystemMenu(window_, FALSE), &pixels, &menuTexts);
         return pixels;
       }, COLOR_MENU, -1},
      {"Set Location", [&] { return dialog(IDM_SET_LOCATION); }, COLOR_BTNFACE, -1},
      {"About", [&] { return dialog(IDM_ABOUT); }, COLOR_BTNFACE, -1},
      {"Sidereal Time", [&] { return dialog(IDM_SIDEREAL_DIALOG); }, COLOR_BTNFACE, -1},
      // On a server it refuses at once: its words are drawn, and nothing is sent.
      {"Check the Computer's Clock", [&] {
         WriteSetting("TimeServer", "127.0.0.1:0");
         return dialog(IDM_CHECK_CLOCK);
       }, COLOR_BTNFACE, -1},
      {"help", help, COLOR_WINDOW, COLOR_HOTLIGHT},  // links in the system's link colour
  };
  // A link colour no program would fix, so that the help is seen to take the system's.
  const int linkElement = COLOR_HOTLIGHT;
  const COLORREF systemLink = GetSysColor(COLOR_HOTLIGHT);
  const COLORREF testLink = RGB(0, 140, 0);
  SetSysColors(1, &linkElement, &testLink);
  std::string dayTexts;
  for (bool night : {false, true, false}) {
    if (NightColours() != night) Command(IDM_NIGHT_COLOURS);
    for (const Row &row : rows) {
      SCOPED_TRACE(std::string(row.what) + (night ? ", night" : ", day"));
      const std::vector<COLORREF> pixels = row.read();
      ASSERT_FALSE(pixels.empty());
      int bright = 0, coloured = 0, background = 0, ink = 0;
      for (COLORREF p : pixels) {
        if (GetGValue(p) > 24 || GetBValue(p) > 24) ++coloured;
        if (GetRValue(p) >= 100) ++bright;
        if (p == GetSysColor(row.background)) ++background;
        if (row.ink >= 0 && p == GetSysColor(row.ink)) ++ink;
      }
      if (night) {
        EXPECT_EQ(coloured, 0) << "pixels with green or blue";
        EXPECT_GT(bright, 20) << "nothing drawn in red";
      } else {
        EXPECT_GT(background, static_cast<int>(pixels.size()) / 3) << "not the system colour";
        if (row.ink >= 0) {
          EXPECT_GT(ink, 20) << "not drawn in the system colour";
        }
      }
    }
    // By day the menus are the system's again, with the texts they had.
    if (!night) {
      if (dayTexts.empty()) dayTexts = menuTexts;
      EXPECT_EQ(menuTexts, dayTexts);
    }
  }
  SetSysColors(1, &linkElement, &systemLink);
  EXPECT_NE(dayTexts.find("Night C&olours\tCtrl+N|"), std::string::npos) << dayTexts;
  DeleteBeside("ZORKEL.HLP");
}

// The sizes of the items of a menu as the system lays them out on the screen: the bar as it
// stands, a popup while shown for a moment (read from inside its loop).
HWND g_shownWindow = nullptr;
HMENU g_shownMenu = nullptr;
std::vector<SIZE> g_shown;

void CALLBACK ReadShownItems(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  for (int i = 0; i < GetMenuItemCount(g_shownMenu); ++i) {
    RECT r = {};
    GetMenuItemRect(g_shownWindow, g_shownMenu, static_cast<UINT>(i), &r);
    g_shown.push_back(SIZE{r.right - r.left, r.bottom - r.top});
  }
  EndMenu();
}

std::vector<SIZE> ShownSizes(HWND window, HMENU menu) {
  g_shownWindow = window;
  g_shownMenu = menu;
  g_shown.clear();
  if (menu == GetMenu(window)) {
    DrawMenuBar(window);
    ReadShownItems(nullptr, 0, 0, 0);
  } else {
    SetTimer(nullptr, 0, 1, ReadShownItems);
    TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, 50, 50, window, nullptr);
  }
  return g_shown;
}

SIZE Measured(HWND window, HMENU menu, int at) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_ID;
  GetMenuItemInfoA(menu, static_cast<UINT>(at), TRUE, &info);
  MEASUREITEMSTRUCT m = {ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
  return SIZE{static_cast<LONG>(m.itemWidth), static_cast<LONG>(m.itemHeight)};
}

// When the window moves to a monitor of another scale, the night menus are measured anew
// for it, as the system's own are. At the screen's DPI the night items show as the system
// shows them by day (the bar's exactly, a menu's items as high and as wide give or take a
// check mark); at 96, 144 and 192 DPI (sent as Windows sends them: a Wine session keeps one
// DPI) each item measures as at the screen's DPI scaled, give or take the font's rounding;
// and after the system's menu font changes, as at the window's own DPI again.
TEST_F(NightFace, MenusTakeTheSystemsSizesAtEachDpi) {
  Open();
  HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  std::vector<HMENU> menus = {g_clock.mainMenu};
  for (int i = 0; i < GetMenuItemCount(g_clock.mainMenu); ++i) {
    menus.push_back(GetSubMenu(g_clock.mainMenu, i));
  }
  std::vector<std::vector<SIZE>> day, atScreen(menus.size());
  for (HMENU menu : menus) day.push_back(ShownSizes(window_, menu));
  Command(IDM_NIGHT_COLOURS);
  for (int dpi : {screenDpi, 96, 144, 192, 0}) {  // 0: the menu font changed, at the window's DPI
    RECT place;
    GetWindowRect(window_, &place);
    if (dpi == 0) {
      SendMessageA(window_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
      dpi = screenDpi;
    } else {
      SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
    }
    for (std::size_t m = 0; m < menus.size(); ++m) {
      const bool first = atScreen[m].empty();  // at the screen's DPI: shown beside the system's
      const std::vector<SIZE> shown = first ? ShownSizes(window_, menus[m]) : day[m];
      ASSERT_EQ(shown.size(), day[m].size());
      for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI, menu " << m << " item " << i);
        const SIZE measured = Measured(window_, menus[m], static_cast<int>(i));
        if (first) {
          atScreen[m].push_back(measured);
          EXPECT_EQ(shown[i].cy, day[m][i].cy);
          EXPECT_NEAR(shown[i].cx, day[m][i].cx, m == 0 ? 0 : GetSystemMetrics(SM_CXMENUCHECK));
          continue;
        }
        const int width = MulDiv(atScreen[m][i].cx, dpi, screenDpi);
        const int height = MulDiv(atScreen[m][i].cy, dpi, screenDpi);
        EXPECT_NEAR(measured.cx, width, 2 + width / 20);
        EXPECT_NEAR(measured.cy, height, 2);
      }
    }
  }
  Command(IDM_NIGHT_COLOURS);
}

}  // namespace
