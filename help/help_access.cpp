// The help view for a screen reader: the name is the page's title, the value its text as
// laid out (links by the text they show), read when asked. Win32.
#include "help/help_access.h"

#include <cstdio>

#include "help/help_view.h"
#include "support/window_access.h"

namespace {

int ReadHelpAccessText(HWND view, int part, char *out, std::size_t size) {
  if (!IsWindow(view)) return -1;  // closed: its record is gone with it
  const char *title = "";
  const std::size_t length = HelpViewPageText(view, &title, out, size);
  if (part == kAccessName) return std::snprintf(out, size, "%s", title);
  return static_cast<int>(length);
}

}  // namespace

LRESULT AnswerHelpViewAccess(HWND view, WPARAM wParam, LPARAM lParam) {
  return AnswerWindowAccess(view, wParam, lParam, ReadHelpAccessText);
}
