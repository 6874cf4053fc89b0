// The correction's measurements through the asynchronous exchange, and what the window shows
// when the correction comes or goes. Win32.
#include "shell/server_correction.h"

#include "display/clock_face.h"
#include "resources/resource_ids.h"
#include "shell/clock_state.h"
#include "shell/tick_arming.h"
#include "support/settings.h"
#include "support/sntp_exchange.h"
#include "support/time_correction.h"
#include "support/win32_hooks.h"

namespace {

bool g_asking = false;              // a question of ours is under way
std::int64_t g_lastTaken = 0;       // the measuredAt of the last result taken
bool g_shownCorrected = false;      // what the caption says
bool g_running = false;             // the poll's timer is set

std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

// The caption, the face and the tick's aim follow the correction when it comes or goes.
void ShowCorrection(HWND window) {
  const bool corrected = CorrectionInForce(g_timeCorrection);
  if (corrected == g_shownCorrected) return;
  g_shownCorrected = corrected;
  if (!IsIconic(window)) SetNormalCaption(ShownTimeKind(), g_clock.productName);
  RewriteMinimisedCaption(window);
  InvalidateRect(window, nullptr, FALSE);
  ReadClockAndArmNextTick(window, ShownTimeKind(), g_clock.location);
}

// A good result not yet taken, ours or the clock check dialog's (they share the exchange).
void TakeGoodResult() {
  const SntpResult &result = LastSntpResult();
  if (SntpExchangeBusy() || result.status != kSntpGood || result.measuredAt == 0 ||
      result.measuredAt == g_lastTaken) {
    return;
  }
  g_lastTaken = result.measuredAt;
  RecordMeasurement(&g_timeCorrection, true, result.offset, Now());
}

void Ask(HWND window) {
  char key[kTextSize];
  char server[kSntpHostSize + 8];  // a name of up to 253 characters and ":port"
  LoadText(IDS_KEY_TIME_SERVER, key);
  ReadSettingText(key, server, sizeof server);
  if (server[0] == '\0') LoadText(IDS_DEFAULT_TIME_SERVER, server);
  g_asking = true;
  StartSntpExchange(window, server, kServerCorrectionMessage);
}

// The poll: what is due now.
void Serve(HWND window) {
  TakeGoodResult();
  ExpireCorrection(&g_timeCorrection, Now());
  // A question of another's is left to finish; ours dropped by another's is asked again.
  if (!SntpExchangeBusy()) g_asking = false;
  if (!g_asking && !SntpExchangeBusy() && MeasurementDue(g_timeCorrection, Now())) Ask(window);
  ShowCorrection(window);
}

void OnResult(HWND window, WPARAM status) {
  g_asking = false;
  if (status == kSntpGood) {
    TakeGoodResult();
  } else {
    RecordMeasurement(&g_timeCorrection, false, 0, Now());  // the last offset stays a while
  }
  ShowCorrection(window);
}

}  // namespace

void TurnServerCorrection(HWND window, bool on) {
  // The main window carries the timer and the answers, whichever window made the choice.
  if (MainWindowHandle() != nullptr) window = MainWindowHandle();
  SetCorrectionOn(&g_timeCorrection, on, Now());
  if (on == g_running) return;  // chosen again, from the dialog's box
  g_running = on;
  if (on) {
    // Only a result that comes from now on counts.
    g_lastTaken = LastSntpResult().measuredAt;
    SetTimer(window, kCorrectionTimerId, kCorrectionPollMs, nullptr);
    Serve(window);
    return;
  }
  KillTimer(window, kCorrectionTimerId);
  if (g_asking) CancelSntpExchange();
  g_asking = false;
  ShowCorrection(window);
}

bool ServerCorrectionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleSntpExchangeMessage(window, message, wParam, lParam)) return true;
  if (message == WM_TIMER && wParam == kCorrectionTimerId) {
    Serve(window);
    return true;
  }
  if (message == kServerCorrectionMessage) {
    OnResult(window, wParam);
    return true;
  }
  if (message == WM_POWERBROADCAST &&
      (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) &&
      g_timeCorrection.on) {
    MeasureSoon(&g_timeCorrection, Now());
    Serve(window);
  }
  return false;  // the rest, waking included, goes on as before
}

void DropServerCorrection(HWND window) {
  if (!g_timeCorrection.on) return;
  DropCorrection(&g_timeCorrection, Now());
  g_lastTaken = LastSntpResult().measuredAt;  // measured against the clock as it was
  // A question of ours under way was asked on the old clock: asked again.
  if (g_asking && SntpExchangeBusy()) CancelSntpExchange();
  g_asking = false;
  Serve(window);
}

void StopServerCorrection(HWND window) {
  KillTimer(window, kCorrectionTimerId);
  CancelSntpExchange();
  g_asking = false;
  g_running = false;
  g_shownCorrected = false;
}
