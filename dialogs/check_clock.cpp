// The "Check the Computer's Clock" dialog: the server field, the check's lines, the
// correction's check box, Check Again and Close. Win32.
#include "dialogs/check_clock.h"

#include <cstdio>
#include <cstring>

#include "dialogs/about.h"
#include "display/night_paint.h"
#include "display/sntp_text.h"
#include "resources/resource_ids.h"
#include "support/settings.h"
#include "support/sntp_exchange.h"

namespace {

// Room for the longest host name, a colon and a port.
constexpr std::size_t kServerTextSize = kSntpHostSize + 8;

struct CheckState {
  const CheckClockChoices *choices;
  char asked[kServerTextSize];  // the server text of the check under way or last made
};

CheckState g_check = {};

// The computer's local clock at `ticks` (100 ns since 1601, UTC).
CivilTime LocalCivilTime(std::int64_t ticks) {
  FILETIME utc;
  utc.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
  utc.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
  SYSTEMTIME universal = {};
  SYSTEMTIME local = {};
  if (!FileTimeToSystemTime(&utc, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    GetLocalTime(&local);
  }
  return CivilTime{local.wYear, local.wMonth,  local.wDay,         local.wHour,
                   local.wMinute, local.wSecond, local.wMilliseconds};
}

// The lines one under another; a failure has only its first.
void ShowResult(HWND dialog) {
  const SntpResult &result = LastSntpResult();
  SntpLines lines;
  ComposeSntpLines(result, g_check.asked, LocalCivilTime(result.measuredAt), &lines);
  const char *const parts[] = {lines.verdict, lines.uncertainty, lines.server,
                               lines.measured, lines.meaning,     lines.advice};
  char text[sizeof parts / sizeof parts[0] * (kSntpLineSize + 2)] = "";
  std::size_t used = 0;
  for (const char *part : parts) {
    if (part[0] == '\0') continue;
    const int wrote = std::snprintf(text + used, sizeof text - used, "%s%s",
                                    used > 0 ? "\r\n" : "", part);
    if (wrote < 0 || static_cast<std::size_t>(wrote) >= sizeof text - used) break;
    used += static_cast<std::size_t>(wrote);
  }
  SetDlgItemTextA(dialog, IDC_CHECK_RESULT, text);
}

// Asks the server in the field. A text the exchange can read is stored, so that the next
// check, here or elsewhere in the clock, asks the same server; one it refuses is not, and
// the stored server stays.
void StartCheck(HWND dialog) {
  GetDlgItemTextA(dialog, IDC_CHECK_SERVER, g_check.asked, sizeof g_check.asked);
  char host[kSntpHostSize];
  unsigned port = 0;
  if (ParseTimeServer(g_check.asked, host, &port)) {
    char key[kTextSize];
    LoadText(IDS_KEY_TIME_SERVER, key);
    WriteSettingText(key, g_check.asked);
  }
  char format[kTextSize];
  char asking[kServerTextSize + kTextSize];
  LoadText(IDS_CHECK_ASKING, format);
  const char *texts[] = {g_check.asked};
  FillInTexts(format, texts, 1, asking, sizeof asking);
  SetDlgItemTextA(dialog, IDC_CHECK_RESULT, asking);
  // A result of the question this one replaces may still wait in the queue: it would be
  // read as this one's, which has none yet.
  MSG stale;
  while (PeekMessageA(&stale, dialog, kCheckClockResultMessage, kCheckClockResultMessage,
                      PM_REMOVE)) {
  }
  StartSntpExchange(dialog, g_check.asked, kCheckClockResultMessage);
}

void OnInit(HWND dialog, const CheckClockChoices *choices) {
  g_check = CheckState{};
  g_check.choices = choices;
  CenterWindowOnScreen(dialog);
  char key[kTextSize];
  LoadText(IDS_KEY_TIME_SERVER, key);
  char server[kServerTextSize];
  ReadSettingText(key, server, sizeof server);
  if (server[0] == '\0') LoadText(IDS_DEFAULT_TIME_SERVER, server);
  SendDlgItemMessageA(dialog, IDC_CHECK_SERVER, EM_LIMITTEXT, kServerTextSize - 1, 0);
  SetDlgItemTextA(dialog, IDC_CHECK_SERVER, server);
  CheckDlgButton(dialog, IDC_CHECK_CORRECTION,
                 choices != nullptr && choices->correction != 0 ? BST_CHECKED : BST_UNCHECKED);
  StartCheck(dialog);
}

INT_PTR OnCommand(HWND dialog, WORD id, WORD notification) {
  switch (id) {
    case IDC_CHECK_AGAIN:
      StartCheck(dialog);
      return TRUE;
    case IDC_CHECK_CORRECTION:
      if (notification == BN_CLICKED && g_check.choices != nullptr &&
          g_check.choices->makeCorrection != nullptr) {
        const bool on = IsDlgButtonChecked(dialog, IDC_CHECK_CORRECTION) == BST_CHECKED;
        g_check.choices->makeCorrection(GetWindow(dialog, GW_OWNER), on ? 1 : 0);
      }
      return TRUE;
    case IDCANCEL:  // Close, Esc and the close box
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK CheckClockDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleSntpExchangeMessage(dialog, message, wParam, lParam)) return TRUE;
  if (const INT_PTR night = NightDialogMessage(dialog, message, wParam, lParam)) return night;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<const CheckClockChoices *>(lParam));
      return TRUE;
    case kCheckClockResultMessage:
      ShowResult(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
      // However the dialog ends (Close, or the clock closing under it), nothing of its
      // question may arrive later for a window that is gone.
      CancelSntpExchange();
      g_check.choices = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}
