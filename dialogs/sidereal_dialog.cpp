// The Sidereal Time dialog procedure. Win32.
#include "dialogs/sidereal_dialog.h"

#include "astro/apparent.h"
#include "dialogs/dut1_text.h"
#include "dialogs/fields.h"
#include "display/night_paint.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/settings.h"

namespace {

// The date shown is the stored one, read at each opening: another clock of this user may
// have entered DUT1 since.
void ShowEnteredDate(HWND dialog) {
  char key[kTextSize];
  LoadText(IDS_KEY_DUT1_DATE, key);
  char text[kTextSize];
  if (!FormatDut1Date(ReadSettingInt(key, 0), text)) LoadText(IDS_DUT1_NOT_ENTERED, text);
  SetDlgItemTextA(dialog, IDC_DUT1_DATE, text);
}

INT_PTR OnInitDialog(HWND dialog, bool apparent) {
  CheckRadioButton(dialog, IDC_SIDEREAL_MEAN, IDC_SIDEREAL_APPARENT,
                   apparent ? IDC_SIDEREAL_APPARENT : IDC_SIDEREAL_MEAN);
  char text[kTextSize];
  FormatDut1Text(Dut1Milliseconds(), text);
  SetDlgItemTextA(dialog, IDC_DUT1, text);
  ShowEnteredDate(dialog);
  // DUT1 is what changes week by week: the focus starts there, its text selected.
  SetFocus(GetDlgItem(dialog, IDC_DUT1));
  SendDlgItemMessageA(dialog, IDC_DUT1, EM_SETSEL, 0, -1);
  return FALSE;
}

void StoreDut1(int milliseconds) {
  char key[kTextSize];
  LoadText(IDS_KEY_DUT1, key);
  WriteSettingInt(key, milliseconds);
  // The date says how old the value is: OK on an unchanged value does not make it younger.
  if (milliseconds != Dut1Milliseconds()) {
    CivilTime today = {};
    g_platform.readLocalTime(&today);
    LoadText(IDS_KEY_DUT1_DATE, key);
    WriteSettingInt(key, Dut1DateOf(today));
  }
  SetDut1Milliseconds(milliseconds);
}

INT_PTR OnOk(HWND dialog) {
  char text[kTextSize] = "";
  GetDlgItemTextA(dialog, IDC_DUT1, text, sizeof text);
  int milliseconds = 0;
  // A text longer than can be read is refused: what is cut off could make it wrong.
  const bool whole = GetWindowTextLengthA(GetDlgItem(dialog, IDC_DUT1)) < kTextSize;
  if (!whole || !ReadDut1Text(text, &milliseconds)) {
    ShowFieldError(dialog, IDC_DUT1, IDS_DUT1_RANGE, 1);
    return TRUE;
  }
  StoreDut1(milliseconds);
  const bool apparent = IsDlgButtonChecked(dialog, IDC_SIDEREAL_APPARENT) == BST_CHECKED;
  EndDialog(dialog, apparent ? kSiderealApparentChosen : kSiderealMeanChosen);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK SiderealDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const INT_PTR night = NightDialogMessage(dialog, message, wParam, lParam)) return night;
  if (message == WM_INITDIALOG) return OnInitDialog(dialog, lParam != 0);
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  switch (id) {
    case IDC_SIDEREAL_MEAN:
    case IDC_SIDEREAL_APPARENT:
      // As the buttons do themselves, also for a click that comes as a command alone.
      CheckRadioButton(dialog, IDC_SIDEREAL_MEAN, IDC_SIDEREAL_APPARENT, id);
      return TRUE;
    case IDOK:
      return OnOk(dialog);
    case IDCANCEL:
      EndDialog(dialog, kSiderealCancelled);
      return TRUE;
    default:
      return FALSE;
  }
}
