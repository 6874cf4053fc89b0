// The About box. Win32.
#include "dialogs/about.h"

#include "dialogs/field_text.h"
#include "display/night_paint.h"
#include "support/window_place.h"

void CenterWindowOnScreen(HWND window) {
  // On the monitor the user is looking at: the one that holds the clock that opened it.
  const HWND owner = GetWindow(window, GW_OWNER);
  const RECT work = WorkAreaOf(owner != nullptr ? owner : window);
  RECT own;
  GetWindowRect(window, &own);
  int x = 0;
  int y = 0;
  CenteredPosition(PlainRect{work.left, work.top, work.right, work.bottom},
                   PlainRect{own.left, own.top, own.right, own.bottom}, &x, &y);
  SetWindowPos(window, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const INT_PTR night = NightDialogMessage(dialog, message, wParam, lParam)) return night;
  switch (message) {
    case WM_INITDIALOG:
      CenterWindowOnScreen(dialog);
      return TRUE;  // the system puts the focus on OK
    case WM_COMMAND:
      // OK has the id of Cancel, so Enter, Esc and the close box all arrive here.
      if (wParam == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
