// Closing the clock and the two steps in which Windows ends a session. Win32.
#include "shell/session_end.h"

#include "location/city_database.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/system_library.h"

namespace {

enum CloseState { kOpen, kAsking, kClosed };

CloseState g_state = kOpen;
bool g_offeredForSession = false;  // asked at WM_QUERYENDSESSION; cleared if the session goes on

// Not on every system: looked up when needed, so that the program still starts without them.
using CreateReason = BOOL(WINAPI *)(HWND, LPCWSTR);
using DestroyReason = BOOL(WINAPI *)(HWND);

// While the question is up, a shutdown that reaches the clock shows this reason beside it,
// so that the user can come back and answer rather than end it with the changes unsaved.
void GiveShutdownReason(HWND window) {
  const auto create = SystemCall<CreateReason>("user32.dll", "ShutdownBlockReasonCreate");
  if (create == nullptr) return;
  char reason[kTextSize];
  LoadText(IDS_SHUTDOWN_REASON, reason);
  WCHAR wide[kTextSize];
  if (MultiByteToWideChar(CP_ACP, 0, reason, -1, wide, kTextSize) == 0) return;
  create(window, wide);
}

void WithdrawShutdownReason(HWND window) {
  const auto destroy = SystemCall<DestroyReason>("user32.dll", "ShutdownBlockReasonDestroy");
  if (destroy != nullptr) destroy(window);
}

// The exit question, at most one at a time: a close or a session end that arrives while it
// is up (it runs inside the question's message loop) finds the state kAsking.
void OfferToSave(HWND window) {
  if (CityTableChanged() == 0) return;
  g_state = kAsking;
  GiveShutdownReason(window);
  OfferToSaveCityDatabase();
  WithdrawShutdownReason(window);
  g_state = kOpen;
}

}  // namespace

bool BeginClose(HWND window) {
  if (g_state != kOpen) return false;
  if (!g_offeredForSession) OfferToSave(window);
  g_state = kClosed;
  return true;
}

LRESULT AnswerQueryEndSession(HWND window) {
  // Ending now would lose the answer to the question that is up: Windows shows the reason.
  if (g_state == kAsking) return FALSE;
  if (g_state == kOpen && !g_offeredForSession) {
    OfferToSave(window);
    g_offeredForSession = true;
  }
  return TRUE;
}

void SessionEndCancelled() { g_offeredForSession = false; }

void ResetSessionEnd() {
  g_state = kOpen;
  g_offeredForSession = false;
}
