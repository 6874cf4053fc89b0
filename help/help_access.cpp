// The help view for a screen reader: the name is the page's title, the value its text as
// laid out (links by the text they show), read when asked. Win32.
#include "help/help_access.h"

#include <cstdio>

#include "help/help_layout.h"
#include "help/help_view.h"
#include "support/window_access.h"

namespace {

int ReadHelpAccessText(HWND view, int part, char *out, std::size_t size) {
  if (view != g_helpView.view || g_helpView.metrics == nullptr) return -1;  // closed
  if (part == kAccessName) {
    return std::snprintf(out, size, "%s", g_helpView.title != nullptr ? g_helpView.title : "");
  }
  return static_cast<int>(HelpLayoutPlainText(g_helpView.layout, out, size));
}

}  // namespace

LRESULT AnswerHelpViewAccess(HWND view, WPARAM wParam, LPARAM lParam) {
  return AnswerWindowAccess(view, wParam, lParam, ReadHelpAccessText);
}
