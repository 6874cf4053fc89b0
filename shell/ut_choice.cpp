// Universal Time from Windows: the toggle with its check marks and setting, and the
// start-up and after-Set-Location question. Win32.
#include "shell/ut_choice.h"

#include "astro/universal_time.h"
#include "display/clock_face.h"
#include "display/ut_question.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "support/errors.h"
#include "support/settings.h"

void ApplySavedUtChoice(HWND window) {
  char key[kTextSize];
  LoadText(IDS_KEY_UT_FROM_WINDOWS, key);
  // Anything but 1 leaves it off: the clock then reads UT as it always has.
  if (ReadSettingInt(key, 0) == 1) PostMessageA(window, WM_COMMAND, IDM_UT_FROM_WINDOWS, 0);
  PostMessageA(window, kCheckUniversalTimeMessage, 0, 0);
}

void ToggleUtFromWindows(HWND window) {
  SetUniversalTimeFromComputer(!UniversalTimeFromComputer());
  ShowAndStoreChoice(IDM_UT_FROM_WINDOWS, UniversalTimeFromComputer(), IDS_KEY_UT_FROM_WINDOWS);
  InvalidateRect(window, nullptr, TRUE);
  // A minimised window is not repainted: its caption would keep the old UT until the
  // minute changes (the system menu can be had from the taskbar).
  RewriteMinimisedCaption(window);
}

void CheckUniversalTime(HWND window) {
  if (AskToTakeUniversalTimeFromComputer(window, g_main.location)) ToggleUtFromWindows(window);
}

void ResetUtChoice() {
  SetUniversalTimeFromComputer(false);
  ForgetDeclinedCities();
}
