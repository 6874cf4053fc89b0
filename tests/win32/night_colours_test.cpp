// Night Colours: the setting that decides them at start, the toggle with its check marks,
// and the face painted dark red on black (its key is checked with the other accelerators).
#include <gtest/gtest.h>

#include <vector>

#include "clock_window.h"
#include "display/clock_face.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/settings.h"

namespace {

using NightFace = ClockWindow;

TEST_F(NightFace, StartsAsStoredAndTheToggleIsCheckedAndStored) {
  struct Case {
    const char *stored;  // null: absent
    bool on;
  } cases[] = {{nullptr, false}, {"1", true}, {"0", false}, {"2", false}, {"on", false}, {"01", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.stored != nullptr ? c.stored : "(absent)");
    DeleteAllSettings();
    if (c.stored != nullptr) WriteSetting("Night", c.stored);
    Open();
    EXPECT_EQ(NightColours(), c.on);
    EXPECT_EQ(Checked(g_main.mainMenu, IDM_NIGHT_COLOURS), c.on);
    EXPECT_EQ(Checked(GetSystemMenu(window_, FALSE), IDM_NIGHT_COLOURS), c.on);
    DestroyWindow(window_);
    Pump();
    ResetShellState();
  }
  DeleteAllSettings();
  Open();
  Command(IDM_NIGHT_COLOURS);  // from the Time menu
  EXPECT_TRUE(NightColours());
  EXPECT_TRUE(Checked(g_main.mainMenu, IDM_NIGHT_COLOURS));
  EXPECT_TRUE(Checked(GetSystemMenu(window_, FALSE), IDM_NIGHT_COLOURS));
  EXPECT_EQ(StoredSetting("Night"), "1");
  SysCommand(IDM_NIGHT_COLOURS);  // from the system menu, with the menu bar hidden
  EXPECT_FALSE(NightColours());
  EXPECT_FALSE(Checked(g_main.mainMenu, IDM_NIGHT_COLOURS));
  EXPECT_EQ(StoredSetting("Night"), "0");
  EXPECT_EQ(Caption(), "Orvane 2 (LMT)");
}

// The face as the window paints it (erase, then the update), read back pixel by pixel.
std::vector<COLORREF> PaintedFace(HWND window, int width, int height) {
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));  // neither colour
  SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  UpdateClockFace(dc, g_main.timeKind, g_main.location, 1);
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

}  // namespace
