// Choosing the time scale and chime mode, hiding the menu bar, staying on top, and the
// commands that open dialogs, help and the web page. Win32.
#include "shell/commands.h"

#include "shell/commands_probe.h"

#include <shellapi.h>

#include "dialogs/about.h"
#include "dialogs/set_location.h"
#include "display/chimes.h"
#include "display/clock_face.h"
#include "help/help_window.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/ut_choice.h"
#include "shell/night_menus.h"
#include "support/errors.h"
#include "support/settings.h"

namespace {

WebPageOpener g_openWebPage = ShellExecuteA;

void MoveCheckMark(WORD *last, WORD id) {
  CheckMenuItem(g_main.mainMenu, *last, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(g_main.mainMenu, id, MF_BYCOMMAND | MF_CHECKED);
  *last = id;
}

void ChooseTimeKind(HWND window, WORD id) {
  MoveCheckMark(&g_main.lastTimeCommand, id);
  const int old = g_main.timeKind;
  g_main.timeKind = id - IDM_TIME_BASE;
  SetNormalCaption(g_main.timeKind, g_main.productName);
  if (g_main.timeKind != old) WriteSettingInt(g_main.keyTime, g_main.timeKind);
  InvalidateRect(window, nullptr, TRUE);
  // The text of TimeKind 0 is longer than the others: the font must be made again.
  SendMessageA(window, WM_SIZE, 0, 0);
  // A minimised window is not repainted: its caption would show the normal caption until
  // the minute changes.
  RewriteMinimisedCaption(window);
}

void ChooseChimeMode(WORD id) {
  MoveCheckMark(&g_main.lastChimeCommand, id);
  const int old = GetChimeMode();
  SetChimeMode(id - IDM_CHIME_BASE);
  if (GetChimeMode() != old) WriteSettingInt(g_main.keySound, GetChimeMode());
}

void HideMenuBar(HWND window) {
  g_main.menuBarHidden = 1;
  EnableMenuItem(g_main.systemMenu, IDM_SHOW_MENU_BAR, MF_BYCOMMAND | MF_ENABLED);
  EnableMenuItem(g_main.systemMenu, IDM_HIDE_MENU_BAR, MF_BYCOMMAND | MF_GRAYED);
  SetMenu(window, nullptr);  // the main menu handle keeps the menu
  DrawMenuBar(window);
  WriteSettingInt(g_main.keyMenus, 1);
}

void ShowMenuBar(HWND window) {
  g_main.menuBarHidden = 0;
  EnableMenuItem(g_main.systemMenu, IDM_SHOW_MENU_BAR, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(g_main.systemMenu, IDM_HIDE_MENU_BAR, MF_BYCOMMAND | MF_ENABLED);
  SetMenu(window, g_main.mainMenu);
  DrawMenuBar(window);
  WriteSettingInt(g_main.keyMenus, 0);
}

void ToggleAlwaysOnTop(HWND window) {
  g_main.alwaysOnTop = g_main.alwaysOnTop != 0 ? 0 : 1;
  SetWindowPos(window, g_main.alwaysOnTop != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  const UINT mark = g_main.alwaysOnTop != 0 ? MF_CHECKED : MF_UNCHECKED;
  CheckMenuItem(g_main.systemMenu, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND | mark);
  WriteSettingInt(g_main.keyOnTop, g_main.alwaysOnTop);
}

void ToggleNightColours(HWND window) {
  SetNightColours(!NightColours());
  ShowAndStoreChoice(IDM_NIGHT_COLOURS, NightColours(), IDS_KEY_NIGHT);
  InvalidateRect(window, nullptr, TRUE);
  ShowNightColours(window);  // the menus, the title bars and the other windows
}

void OpenHelp(HWND window, UINT command, ULONG_PTR data) {
  FAIL_IF(!ShowHelp(window, g_main.helpPath, command, data), IDS_HELP_ERROR);
}

void ShowAbout(HWND window) {
  const INT_PTR result = DialogBoxParamA(g_main.instance, "DIAL_ABOUT", window, AboutDialogProc, 0);
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
}

void OpenWebPage(HWND window) {
  char address[kTextSize];
  LoadText(IDS_WEB_ADDRESS, address);
  // Shown normally: a browser opened hidden would look as if nothing had happened.
  g_openWebPage(window, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void SetLocation(HWND window) {
  *DialogLocation() = g_main.location;
  const INT_PTR result =
      DialogBoxParamA(g_main.instance, "DIAL_SET_LOCATION", window, SetLocationDialogProc, 0);
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
  // The dialog decides what its copy holds; the next tick shows the time for it.
  g_main.location = *DialogLocation();
  if (SetLocationConfirmed()) CheckUniversalTime(window);
}

}  // namespace

void SetWebPageOpener(WebPageOpener opener) {
  g_openWebPage = opener != nullptr ? opener : ShellExecuteA;
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam);
  if (id >= IDM_TIME_BASE && id <= IDM_GST) {
    ChooseTimeKind(window, id);
  } else if (id >= IDM_CHIME_NONE && id <= IDM_CHIME_MULTIPLE) {
    ChooseChimeMode(id);
  } else {
    switch (id) {
      case IDM_HELP_INDEX:
        OpenHelp(window, HELP_FINDER, 0);
        break;
      case IDM_HELP_KEYBOARD:
        OpenHelp(window, HELP_KEY, reinterpret_cast<ULONG_PTR>("keys"));
        break;
      case IDM_HELP_USING:
        OpenHelp(window, HELP_HELPONHELP, 0);
        break;
      case IDM_ABOUT:
        ShowAbout(window);
        break;
      case IDM_WEB_SITE:
        OpenWebPage(window);
        break;
      case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
      case IDM_SET_LOCATION:
        SetLocation(window);
        break;
      case IDM_NIGHT_COLOURS:
        ToggleNightColours(window);
        break;
      case IDM_UT_FROM_WINDOWS:
        ToggleUtFromWindows(window);
        break;
      default:
        break;
    }
  }
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  switch (wParam) {
    case IDM_HIDE_MENU_BAR:
      HideMenuBar(window);
      return 0;
    case IDM_SHOW_MENU_BAR:
      ShowMenuBar(window);
      return 0;
    case IDM_ALWAYS_ON_TOP:
      ToggleAlwaysOnTop(window);
      return 0;
    case IDM_NIGHT_COLOURS:
      ToggleNightColours(window);
      return 0;
    case IDM_UT_FROM_WINDOWS:
      ToggleUtFromWindows(window);
      return 0;
    default:
      return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
  }
}

void ShowAndStoreChoice(UINT command, bool on, int keyText) {
  const UINT mark = on ? MF_CHECKED : MF_UNCHECKED;
  CheckMenuItem(g_main.mainMenu, command, MF_BYCOMMAND | mark);
  CheckMenuItem(g_main.systemMenu, command, MF_BYCOMMAND | mark);
  char key[kTextSize];
  LoadText(keyText, key);
  WriteSettingInt(key, on ? 1 : 0);
}

void RewriteMinimisedCaption(HWND window) {
  if (!IsIconic(window)) return;
  HDC dc = GetDC(window);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  UpdateClockFace(dc, g_main.timeKind, g_main.location, 1);
  FAIL_IF(ReleaseDC(window, dc) == 0, IDS_GDI_ERROR);
}
