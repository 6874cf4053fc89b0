// The stored DUT1, read once at start-up. Win32.
#include "shell/dut1_setting.h"

#include "astro/apparent.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/settings.h"

void ApplySavedDut1() {
  char key[kTextSize];
  LoadText(IDS_KEY_DUT1, key);
  // UT1 runs either side of UTC: the value may be negative, as a window coordinate may.
  SetDut1Milliseconds(ReadSettingCoordinate(key, 0));
}
