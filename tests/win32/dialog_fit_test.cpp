// The dialogs at 96, 120, 144 and 192 DPI: every text fits its control, measured with the
// control's own font, and every control lies inside the dialog; and Tab's way through Set
// Location.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "clock_window.h"
#include "dialog_template.h"
#include "resources/resource_ids.h"

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int FontHeight(HWND window) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

// How wide and high the control's text needs to be, with the control's own font; buttons of
// each kind add what Windows draws beside the text (check box and radio glyph, push-button
// margins) as Windows sizes it at `dpi`.
SIZE Needed(HWND control, const TemplateItem &item, int dpi, const RECT &client) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  const bool button = item.className == "BUTTON";
  const DWORD kind = item.style & BS_TYPEMASK;
  const bool glyph = button && (kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON ||
                                kind == BS_CHECKBOX || kind == BS_RADIOBUTTON);
  const int extra = glyph ? MulDiv(13 + 4, dpi, 96) : button ? MulDiv(2 * 4, dpi, 96) : 0;
  RECT r = {0, 0, client.right - extra, 0};
  DrawTextA(dc, item.text.c_str(), -1, &r, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{r.right + extra, r.bottom};
}

// The template as Windows lays it out at `dpi` on this screen: the dialog's font, and with it
// its units, grow with the DPI, so a point size scaled by dpi / screen DPI gives the same
// pixels (a session under Wine keeps one DPI for its life).
std::vector<BYTE> AtDpi(const DialogTemplate &t, int dpi) {
  std::vector<BYTE> bytes(t.bytes, t.bytes + t.size);
  const WORD points = static_cast<WORD>(MulDiv(t.pointSize, dpi, ScreenDpi()));
  std::memcpy(&bytes[t.pointSizeAt], &points, sizeof points);
  return bytes;
}

TEST(DialogsAtEachDpi, EveryTextFitsItsControlAndEveryControlLiesInsideTheDialog) {
  for (const char *name : {"DIAL_SET_LOCATION", "DIAL_ABOUT", "DIAL_SIDEREAL", "DIAL_CHECK_CLOCK"}) {
    const DialogTemplate t = LoadDialogTemplate(name);
    for (int dpi : {96, 120, 144, 192}) {
      SCOPED_TRACE(testing::Message() << name << " at " << dpi << " DPI");
      std::vector<BYTE> bytes = AtDpi(t, dpi);
      HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                               reinterpret_cast<DLGTEMPLATE *>(bytes.data()),
                                               nullptr, PlainDialog, 0);
      ASSERT_NE(dialog, nullptr);
      RECT inside;
      GetClientRect(dialog, &inside);
      // A bitmap font stops growing at some size while the dialog keeps scaling.
      EXPECT_GE(FontHeight(dialog), MulDiv(13, dpi, 96) - 1);
      for (const TemplateItem &item : t.items) {
        HWND control = GetDlgItem(dialog, item.id);
        ASSERT_NE(control, nullptr) << item.id;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= inside.right && r.bottom <= inside.bottom)
            << item.id << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
        if (item.text.empty() || (item.style & SS_TYPEMASK) == SS_ICON) continue;
        RECT client;
        GetClientRect(control, &client);
        const SIZE need = Needed(control, item, dpi, client);
        EXPECT_LE(need.cx, client.right) << "\"" << item.text << "\" is too wide";
        EXPECT_LE(need.cy, client.bottom) << "\"" << item.text << "\" is too high";
      }
      DestroyWindow(dialog);
    }
  }
}

using SetLocationKeyboard = ClockWindow;

// Tab goes the way the eye reads, stopping once in West/East (at the chosen one); the arrows
// move between West and East and choose as they go; the number fields scroll.
TEST_F(SetLocationKeyboard, TabFollowsTheDialogArrowsChooseWestOrEastFieldsScroll) {
  Open();
  WithDialog(IDM_SET_LOCATION, [](HWND d) {
    const int order[] = {IDC_LOCATION_COMBO, IDC_DEGREES, IDC_MINUTES, IDC_SECONDS, IDC_WEST, IDC_ZONE,
                         IDC_DST, IDC_DST_WINDOWS, IDOK, IDC_SAVE, IDCANCEL, IDC_LOCATION_COMBO};
    HWND at = GetDlgItem(d, order[0]);
    for (std::size_t i = 1; i < sizeof order / sizeof order[0]; ++i) {
      at = GetNextDlgTabItem(d, at, FALSE);
      EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "after " << order[i - 1];
    }
    SetFocus(GetDlgItem(d, IDC_WEST));
    MSG down = {GetDlgItem(d, IDC_WEST), WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(d, &down));
    EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_EAST));
    EXPECT_TRUE(IsChecked(d, IDC_EAST));
    EXPECT_FALSE(IsChecked(d, IDC_WEST));
    // Text wider than a field scrolls instead of being refused.
    for (int field : {IDC_DEGREES, IDC_MINUTES, IDC_SECONDS, IDC_ZONE}) {
      TypeInto(GetDlgItem(d, field), "000000000000012");
      EXPECT_EQ(FieldText(d, field), "000000000000012") << field;
    }
    Click(d, IDCANCEL);
  });
}

}  // namespace
