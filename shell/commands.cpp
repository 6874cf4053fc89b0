// The commands of the menus and the keyboard: the saved choices go to their table, the rest
// open dialogs, help and the web page. Win32.
#include "shell/commands.h"

#include "shell/commands_probe.h"

#include <shellapi.h>

#include "dialogs/about.h"
#include "dialogs/check_clock.h"
#include "dialogs/set_location.h"
#include "dialogs/sidereal_dialog.h"
#include "help/help_window.h"
#include "resources/resource_ids.h"
#include "shell/choices.h"
#include "shell/clock_state.h"
#include "shell/tick_arming.h"
#include "shell/ut_choice.h"
#include "support/errors.h"

namespace {

WebPageOpener g_openWebPage = ShellExecuteA;

void OpenHelp(HWND window, UINT command, ULONG_PTR data) {
  FAIL_IF(!ShowHelp(window, g_clock.helpPath, command, data), IDS_HELP_ERROR);
}

void ShowAbout(HWND window) {
  const INT_PTR result =
      DialogBoxParamA(g_clock.instance, "DIAL_ABOUT", window, AboutDialogProc, 0);
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
}

void OpenWebPage(HWND window) {
  char address[kTextSize];
  LoadText(IDS_WEB_ADDRESS, address);
  // Shown normally: a browser opened hidden would look as if nothing had happened.
  g_openWebPage(window, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void SetLocation(HWND window) {
  *DialogLocation() = g_clock.location;
  const INT_PTR result =
      DialogBoxParamA(g_clock.instance, "DIAL_SET_LOCATION", window, SetLocationDialogProc, 0);
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
  // The dialog decides what its copy holds; the next tick shows the time for it.
  g_clock.location = *DialogLocation();
  // Another longitude turns the local sidereal second at another moment.
  ReadClockAndArmNextTick(window, ShownTimeKind(), g_clock.location);
  if (SetLocationConfirmed()) CheckUniversalTime(window);
}

// The dialog stores and applies DUT1 itself; the scale is a saved choice, made here.
void ChooseSiderealTime(HWND window) {
  const int apparent = g_clock.choice[kChoiceApparent];
  const INT_PTR result = DialogBoxParamA(g_clock.instance, "DIAL_SIDEREAL", window,
                                         SiderealDialogProc, static_cast<LPARAM>(apparent));
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
  if (result == kSiderealCancelled) return;
  const int chosen = result == kSiderealApparentChosen ? 1 : 0;
  if (chosen != apparent) MakeChoice(window, kChoiceApparent, chosen);
  // A new DUT1 shows at once, not at the next tick.
  InvalidateRect(window, nullptr, TRUE);
  RewriteMinimisedCaption(window);
}

void MakeServerCorrection(HWND window, int on) {
  MakeChoice(window, kChoiceServerCorrection, on);
}

void CheckClock(HWND window) {
  CheckClockChoices choices = {g_clock.choice[kChoiceServerCorrection], MakeServerCorrection};
  const INT_PTR result = DialogBoxParamA(g_clock.instance, "DIAL_CHECK_CLOCK", window,
                                         CheckClockDialogProc, reinterpret_cast<LPARAM>(&choices));
  FAIL_IF(result == -1, IDS_CANNOT_CREATE_DIALOG);
}

}  // namespace

void SetWebPageOpener(WebPageOpener opener) {
  g_openWebPage = opener != nullptr ? opener : ShellExecuteA;
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam);
  if (!CarryOutChoiceCommand(window, WM_COMMAND, wParam)) {
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
      case IDM_SIDEREAL_DIALOG:
        ChooseSiderealTime(window);
        break;
      case IDM_CHECK_CLOCK:
        CheckClock(window);
        break;
      default:
        break;
    }
  }
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  if (CarryOutChoiceCommand(window, WM_SYSCOMMAND, wParam)) return 0;
  return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}
