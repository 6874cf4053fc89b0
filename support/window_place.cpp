// Putting the clock and its help window back where they were left (Win32).
#include "support/window_place.h"

#include "support/caption_reach.h"

#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/settings.h"

namespace {

// Gathers the work area of each monitor, up to the size of the list.
struct WorkAreaList {
  PlainRect areas[16];
  int count;
};

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  WorkAreaList *list = reinterpret_cast<WorkAreaList *>(data);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT &w = info.rcWork;
    list->areas[list->count++] = PlainRect{w.left, w.top, w.right, w.bottom};
  }
  return list->count < static_cast<int>(sizeof list->areas / sizeof list->areas[0]);
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
  // The caption bar lies inside the sizing frame. These metrics are at the sign-in scale,
  // which the screen's device context reports.
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  const CaptionMetrics metrics = {
      GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER),
      GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER),
      GetSystemMetrics(SM_CYCAPTION), dpi};
  WorkAreaList list = {};
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&list));
  return CaptionReachable(x, y, width, metrics, list.areas, list.count);
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

RECT WorkAreaOf(HWND window) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (window != nullptr &&
      GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    return info.rcWork;
  }
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);  // the main monitor's
  return area;
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
