// Dialog field functions. Win32.
#include "dialogs/fields.h"

#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"

void ShowFieldError(HWND dialog, int controlId, int messageId, int select) {
  ShowWarning(dialog, messageId, 0);
  HWND field = GetDlgItem(dialog, controlId);
  FAIL_IF(field == nullptr, IDS_DIALOG_ERROR);
  // SetFocus returns no window when none of this thread had the focus (another program
  // took it while the warning was up): only a focus that did not arrive is an error. A combo
  // box hands it on to its edit part.
  SetFocus(field);
  HWND focus = GetFocus();
  FAIL_IF(focus != field && !IsChild(field, focus), IDS_DIALOG_ERROR);
  if (select != 0) {
    // A combo box takes its own message for the text of its edit part; EM_SETSEL would
    // leave the name unselected.
    char className[16] = "";
    GetClassNameA(field, className, sizeof className);
    if (lstrcmpiA(className, "ComboBox") == 0) {
      SendMessageA(field, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    } else {
      SendMessageA(field, EM_SETSEL, 0, 0x7FFF0000);
    }
  }
}

void SetNumberField(HWND dialog, double value, int width, int precision, int controlId) {
  char text[kTextSize];
  FormatSignedNumber(value, width, precision, text);
  RemoveWhiteSpace(text);
  SetDlgItemTextA(dialog, controlId, text);
}
