// DUT1 as stored, put in force at start-up. Win32.
#include "shell/dut1_setting.h"

#include "astro/apparent.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/settings.h"

void ApplySavedDut1() {
  char key[kTextSize];
  LoadText(IDS_KEY_DUT1, key);
  // Beyond 0.9 s either way counts as 0: a damaged setting must not move the clock.
  SetDut1Milliseconds(ReadSettingSigned(key, 0));
}
