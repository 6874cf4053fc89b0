// The help engine. Win32.
#include "shell/help.h"

BOOL ShowHelp(HWND, const char *, UINT command, ULONG_PTR) {
  // Nothing is held open yet, so releasing the file always succeeds.
  return command == HELP_QUIT ? TRUE : FALSE;
}
