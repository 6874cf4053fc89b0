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

}  // namespace
