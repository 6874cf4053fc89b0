// The start-up and after-Set-Location question about where UT comes from. Win32.
#include "shell/ut_choice.h"

#include "display/ut_question.h"
#include "shell/choices.h"
#include "shell/clock_state.h"

void CheckUniversalTime(HWND window) {
  if (AskToTakeUniversalTimeFromComputer(window, g_clock.location)) {
    MakeChoice(window, kChoiceUtFromWindows, 1);
  }
}
