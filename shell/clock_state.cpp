// The program's state record, and the caption of a minimised window drawn from it. Win32.
#include "shell/clock_state.h"

#include "display/clock_face.h"
#include "resources/resource_ids.h"
#include "support/errors.h"

ClockState g_clock = {};

void RewriteMinimisedCaption(HWND window) {
  if (!IsIconic(window)) return;
  HDC dc = GetDC(window);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  UpdateClockFace(dc, ShownTimeKind(), g_clock.location, 1);
  FAIL_IF(ReleaseDC(window, dc) == 0, IDS_GDI_ERROR);
}
