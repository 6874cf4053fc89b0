// Putting the clock and its help window back where they were left (Win32).
#include "shell/window_place.h"

#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/settings.h"

namespace {

// How much of the caption bar, in pixels across and down, must lie on one monitor's work area
// for the user to grab the window and drag it back.
constexpr int kGrabWidth = 64;
constexpr int kGrabHeight = 16;

BOOL CALLBACK ShowsEnoughOfTheCaption(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  RECT *caption = reinterpret_cast<RECT *>(data);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  RECT onWorkArea;
  if (GetMonitorInfoA(monitor, &info) && IntersectRect(&onWorkArea, caption, &info.rcWork) &&
      onWorkArea.right - onWorkArea.left >= kGrabWidth &&
      onWorkArea.bottom - onWorkArea.top >= kGrabHeight) {
    caption->right = caption->left;  // found: an empty rectangle tells the caller
    return FALSE;
  }
  return TRUE;
}

// How far workspace coordinates lie from screen coordinates on the monitor nearest `r`
// (given in either: the work area's offset is the same for both).
POINT WorkspaceOffset(const RECT &r) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  POINT offset = {0, 0};
  if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
    offset.x = info.rcWork.left - info.rcMonitor.left;
    offset.y = info.rcWork.top - info.rcMonitor.top;
  }
  return offset;
}

void KeyText(char *key) { LoadText(IDS_KEY_MAXIMIZED, key); }

}  // namespace

bool CaptionCanBeGrabbed(int x, int y, int width) {
  // No screen reaches this far; and the sums below stay within an int.
  constexpr int kFarAway = 1 << 24;
  if (x > kFarAway || y > kFarAway || width > kFarAway) return false;
  // The caption bar lies inside the sizing frame.
  const int frameX = GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  const int frameY = GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  RECT caption = {x + frameX, y + frameY, x + width - frameX, y + frameY + GetSystemMetrics(SM_CYCAPTION)};
  if (caption.right - caption.left < kGrabWidth) return false;
  EnumDisplayMonitors(nullptr, &caption, ShowsEnoughOfTheCaption, reinterpret_cast<LPARAM>(&caption));
  return caption.right == caption.left;
}

bool NormalScreenPlace(HWND window, RECT *place, bool *maximised) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return false;
  *place = placement.rcNormalPosition;
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0) {
    const POINT offset = WorkspaceOffset(*place);
    OffsetRect(place, offset.x, offset.y);
  }
  *maximised = IsZoomed(window) != FALSE;
  return true;
}

bool PlacementCanBeGrabbed(const WINDOWPLACEMENT &placement) {
  RECT r = placement.rcNormalPosition;
  const POINT offset = WorkspaceOffset(r);
  OffsetRect(&r, offset.x, offset.y);
  return CaptionCanBeGrabbed(r.left, r.top, r.right - r.left);
}

int StartShowCommand(int showCommand) {
  char key[kTextSize];
  KeyText(key);
  const bool asUsual = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT || showCommand == SW_SHOW;
  return asUsual && ReadSettingInt(key, 0) == 1 ? SW_SHOWMAXIMIZED : showCommand;
}

void StoreMaximised(bool maximised) {
  char key[kTextSize];
  KeyText(key);
  WriteSettingInt(key, maximised ? 1 : 0);
}
