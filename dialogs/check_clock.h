// The "Check the Computer's Clock" dialog: asks a time server how far this computer's clock
// is off and says what that means for the sky shown. Win32.
#pragma once

#include <windows.h>

// What the dialog is given by the window that opens it (DialogBoxParam's lParam).
struct CheckClockChoices {
  int correction;  // whether the shown time is corrected by the server, 1 on
  // Makes the correction choice as its menu command would, for the window that opened it.
  void (*makeCorrection)(HWND owner, int on);
};

// The messages the dialog takes for the exchange's result, its lookup and its socket.
constexpr UINT kCheckClockResultMessage = WM_APP + 0x60;

// Opening the dialog starts a check: the user asked for one. The check runs on the clock's
// thread without waiting, so the clock keeps ticking meanwhile; closing drops it.
INT_PTR CALLBACK CheckClockDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
