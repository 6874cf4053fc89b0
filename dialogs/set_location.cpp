// The Set Location dialog procedure. Win32.
#include "dialogs/set_location.h"

#include <cstdio>
#include <cstring>

#include "dialogs/fields.h"
#include "dialogs/location_check.h"
#include "display/night_paint.h"
#include "location/city_database.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"

namespace {

Location g_dialogLocation = {};
int g_dialogHemisphere = kWest;     // what OK stores as the direction
char g_lastComboText[kTextSize] = "";  // the normalised combo text last acted on
HWND g_combo = nullptr;
bool g_confirmed = false;  // this opening ended with OK or Save

void ShowDefaultFields(HWND dialog) {
  g_dialogHemisphere = kWest;
  FillLocationFields(dialog, 0, 0, 0, kWest, 0.0, 1);
}

// The combo box's text for a notification: what was typed, or the chosen list item.
void ComboText(int notification, char *text) {
  text[0] = '\0';
  if (notification != CBN_EDITCHANGE) {
    const LRESULT selected = SendMessageA(g_combo, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
      const LRESULT length = SendMessageA(g_combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
      if (length == CB_ERR || length >= kTextSize ||
          SendMessageA(g_combo, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                       reinterpret_cast<LPARAM>(text)) == CB_ERR) {
        text[0] = '\0';
      }
      return;
    }
    // No list item is selected (the user typed, or the list is empty): the edit text is
    // what the user sees, so the fields follow it.
  }
  if (GetWindowTextA(g_combo, text, kTextSize) <= 0) text[0] = '\0';
}

INT_PTR OnComboNotification(HWND dialog, int notification) {
  if (notification == CBN_KILLFOCUS || notification == CBN_EDITUPDATE) return 0;
  char text[kTextSize];
  ComboText(notification, text);
  NormalizeWhiteSpace(text);
  if (EqualIgnoringAsciiCase(text, g_lastComboText)) return 1;
  std::snprintf(g_lastComboText, sizeof g_lastComboText, "%s", text);
  const CityRecord *row = FindCity(text);
  if (row != nullptr) {
    g_dialogHemisphere = row->hemisphere;
    FillLocationFields(dialog, row->degrees, row->minutes, row->seconds, row->hemisphere,
                       row->zone, row->dst);
  } else {
    ShowDefaultFields(dialog);
  }
  return 1;
}

INT_PTR OnInitDialog(HWND dialog) {
  g_lastComboText[0] = '\0';
  g_confirmed = false;
  g_combo = GetDlgItem(dialog, IDC_LOCATION_COMBO);
  SendMessageA(g_combo, CB_LIMITTEXT, kCityNameLength, 0);
  for (int i = 0; i < CityCount(); ++i) {
    if (SendMessageA(g_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CityRow(i)->name)) < 0) {
      EndDialog(dialog, -1);
      return 0;
    }
  }
  const LRESULT found = SendMessageA(g_combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(CurrentCityName()));
  SendMessageA(g_combo, CB_SETCURSEL, found != CB_ERR ? static_cast<WPARAM>(found) : 0, 0);
  ShowDefaultFields(dialog);
  // The combo box answers with a set-focus notification, which shows the selected city.
  SetFocus(g_combo);
  return 0;
}

// OK and Save: every check in order; the first that fails is reported and the dialog stays.
INT_PTR OnConfirm(HWND dialog, bool save) {
  char name[kTextSize] = "";
  char degreesText[kTextSize] = "";
  char minutesText[kTextSize] = "";
  char secondsText[kTextSize] = "";
  char zoneText[80] = "";
  GetDlgItemTextA(dialog, IDC_LOCATION_COMBO, name, sizeof name);
  GetDlgItemTextA(dialog, IDC_DEGREES, degreesText, sizeof degreesText);
  GetDlgItemTextA(dialog, IDC_MINUTES, minutesText, sizeof minutesText);
  GetDlgItemTextA(dialog, IDC_SECONDS, secondsText, sizeof secondsText);
  GetDlgItemTextA(dialog, IDC_ZONE, zoneText, sizeof zoneText);
  LocationCheck check;
  CheckLocationTexts({name, degreesText, minutesText, secondsText, zoneText}, &check);
  // A name that passed is kept even when a later field fails, as it always was.
  if (check.nameRead) {
    std::snprintf(g_dialogLocation.name, sizeof g_dialogLocation.name, "%s", check.name);
  }
  if (check.controlId != 0) {
    ShowFieldError(dialog, check.controlId, check.messageId, 1);
    return 1;
  }
  const int degrees = check.degrees;
  const int minutes = check.minutes;
  const int seconds = check.seconds;
  const double zone = check.zone;

  g_dialogLocation.zone = zone;
  g_dialogLocation.hemisphere = g_dialogHemisphere;
  g_dialogLocation.longitude = seconds * (1.0 / 3600.0) + minutes * (1.0 / 60.0) + degrees;
  g_dialogLocation.dst = IsDlgButtonChecked(dialog, IDC_DST) == BST_CHECKED ? kUsDaylightSaving
                          : IsDlgButtonChecked(dialog, IDC_DST_WINDOWS) == BST_CHECKED
                              ? kComputerDaylightSaving
                              : kNoDaylightSaving;
  StoreCity(0, check.name, degrees, minutes, seconds, g_dialogHemisphere, zone, g_dialogLocation.dst);
  // Save closes the dialog whatever its outcome: a failure has shown its own warning and
  // leaves the table marked as changed, so the question comes again at closing.
  if (save) SaveCityDatabase();
  g_confirmed = true;
  EndDialog(dialog, 0);
  return 1;
}

}  // namespace

Location *DialogLocation() { return &g_dialogLocation; }

bool SetLocationConfirmed() { return g_confirmed; }

void FillLocationFields(HWND dialog, int degrees, int minutes, int seconds, int hemisphere,
                        double zone, int dst) {
  char text[kTextSize];
  std::snprintf(text, sizeof text, "%d", degrees);
  SetDlgItemTextA(dialog, IDC_DEGREES, text);
  std::snprintf(text, sizeof text, "%02d", minutes);
  SetDlgItemTextA(dialog, IDC_MINUTES, text);
  std::snprintf(text, sizeof text, "%02d", seconds);
  SetDlgItemTextA(dialog, IDC_SECONDS, text);
  SetNumberField(dialog, zone, 6, 2, IDC_ZONE);
  CheckRadioButton(dialog, IDC_WEST, IDC_EAST, hemisphere == kWest ? IDC_WEST : IDC_EAST);
  // A hand-edited file may hold any number: all but 0 and 2 mean the US rules.
  const std::int32_t rule = DaylightSavingOf(dst);
  CheckDlgButton(dialog, IDC_DST, rule == kUsDaylightSaving ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_DST_WINDOWS,
                 rule == kComputerDaylightSaving ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK SetLocationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const INT_PTR night = NightDialogMessage(dialog, message, wParam, lParam)) return night;
  if (message == WM_INITDIALOG) return OnInitDialog(dialog);
  if (message != WM_COMMAND) return 0;
  const int id = LOWORD(wParam);
  switch (id) {
    case IDC_LOCATION_COMBO:
      return OnComboNotification(dialog, HIWORD(wParam));
    case IDC_WEST:
    case IDC_EAST:
      CheckRadioButton(dialog, IDC_WEST, IDC_EAST, id);
      g_dialogHemisphere = id == IDC_WEST ? kWest : kEast;
      return 0;
    case IDC_DST:
    case IDC_DST_WINDOWS:
      // One set of rules at most: ticking one box clears the other; neither means none.
      if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
        CheckDlgButton(dialog, id == IDC_DST ? IDC_DST_WINDOWS : IDC_DST, BST_UNCHECKED);
      }
      return 0;
    case IDOK:
      return OnConfirm(dialog, false);
    case IDC_SAVE:
      return OnConfirm(dialog, true);
    case IDCANCEL:
      EndDialog(dialog, 0);
      return 1;
    default:
      return 0;
  }
}
