// The clock's client area for a screen reader: its name and value are the time as the face
// shows it, with the scale's abbreviation ("21:30:05 UT"), read when asked. Nothing is
// announced on each tick: a screen reader would then talk every second. Win32.
#include "shell/clock_access.h"

#include <cstdio>

#include "display/clock_face.h"
#include "support/hooks.h"
#include "support/win32_hooks.h"
#include "support/window_access.h"

namespace {

int ReadClockAccessText(HWND window, int, char *out, std::size_t size) {
  if (window != MainWindowHandle()) return -1;  // closed, or a window of an earlier run
  int kind = 0;
  const char *text = ShownClockText(&kind);
  while (*text == ' ') ++text;  // the minimised hours are padded to a width
  if (*text == '\0') return 0;  // nothing drawn yet: the caption will do
  char abbreviation[kTextSize];
  ScaleAbbreviation(kind, abbreviation);
  return std::snprintf(out, size, "%s %s", text, abbreviation);
}

}  // namespace

LRESULT AnswerClockAccess(HWND window, WPARAM wParam, LPARAM lParam) {
  return AnswerWindowAccess(window, wParam, lParam, ReadClockAccessText);
}
