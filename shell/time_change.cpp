// Putting the UT question again after the computer's time or zone changed. Win32.
#include "shell/time_change.h"

#include "display/ut_question.h"
#include "shell/ut_choice.h"

void CheckUniversalTimeAfterTimeChange(HWND window, UINT message) {
  if (message == WM_TIMECHANGE || ComputerZoneMovedSinceLastCheck()) {
    PostMessageA(window, kCheckUniversalTimeMessage, 0, 0);
  }
}
