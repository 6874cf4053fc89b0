// Start-up, the main window procedure, the one-second tick and shut-down. Win32.
#include "shell/main_window.h"

#include <cstring>

#include "astro/apparent.h"
#include "astro/clock_reading.h"
#include "display/chimes.h"
#include "display/clock_face.h"
#include "display/intl.h"
#include "display/ut_question.h"
#include "help/help_window.h"
#include "location/city_database.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "shell/choices.h"
#include "shell/clock_access.h"
#include "shell/commands.h"
#include "shell/dut1_setting.h"
#include "shell/night_menus.h"
#include "shell/server_correction.h"
#include "shell/session_end.h"
#include "shell/tick_arming.h"
#include "shell/time_change.h"
#include "shell/ut_choice.h"
#include "support/clock_timer.h"
#include "support/errors.h"
#include "support/settings.h"
#include "support/win32_hooks.h"
#include "support/window_place.h"

namespace {

LRESULT OnCreate(HWND window, const CREATESTRUCTA *create) {
  g_clock.instance = create->hInstance;
  g_clock.mainMenu = GetMenu(window);
  g_clock.systemMenu = GetSystemMenu(window, FALSE);
  AppendChoicesToSystemMenu(g_clock.systemMenu);
  ShowChoiceMarks();

  // The saved choices are applied by the same commands the user gives; posted, they run
  // once the window is shown and the loop is running, and the check after them finds the
  // saved source of UT in force.
  ApplySavedDut1();
  ApplySavedChoices(window);
  ApplySavedDut1();
  PostMessageA(window, kCheckUniversalTimeMessage, 0, 0);

  char helpName[kTextSize];
  LoadText(IDS_HELP_FILE, helpName);
  BuildProgramPath(helpName, g_clock.helpPath);

  LoadCityDatabase(&g_clock.location);

  ReadClockAndArmNextTick(window, ShownTimeKind(), g_clock.location);
  RefreshIntlSettings();
  return 0;
}

void PaintClock(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  UpdateClockFace(dc, ShownTimeKind(), g_clock.location, 1);
  EndPaint(window, &paint);
}

void TickClock(HWND window) {
  // Armed before drawing, from the clock as it reads now: the drawing's own time is then
  // part of the wait, and a second that turns while drawing is not jumped over.
  const int kind = ShownTimeKind();
  const double hours = ReadClockAndArmNextTick(window, kind, g_clock.location);
  HDC dc = GetDC(window);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  DrawClockReading(dc, kind, hours, 0);
  FAIL_IF(ReleaseDC(window, dc) == 0, IDS_GDI_ERROR);
  SoundPendingChime();
}

void StoreWindowGeometry(HWND window) {
  if (IsIconic(window)) return;  // a minimised window keeps the geometry stored before
  // A maximised window keeps its normal place and size for when it is restored.
  RECT r;
  bool maximised = false;
  if (!NormalScreenPlace(window, &r, &maximised)) GetWindowRect(window, &r);
  StoreMaximised(maximised);
  WriteSettingInt(g_clock.keyX, r.left);
  WriteSettingInt(g_clock.keyY, r.top);
  WriteSettingInt(g_clock.keyWidth, r.right - r.left);
  WriteSettingInt(g_clock.keyHeight, r.bottom - r.top);
}

// Runs when a close begins (WM_CLOSE, or the session ending) and again on WM_DESTROY; each
// step is safe to repeat.
void ShutDown(HWND window) {
  ReleaseClockFont();
  KillTimer(window, kClockTimerId);
  StopServerCorrection(window);  // a question under way is dropped: nothing comes after
  if (g_clock.mainMenu != nullptr && g_clock.choice[kChoiceMenuBarHidden] != 0) {
    DestroyMenu(g_clock.mainMenu);  // detached, so the window would not destroy it
    g_clock.mainMenu = nullptr;
  }
  FAIL_IF(!ShowHelp(window, g_clock.helpPath, HELP_QUIT, 0), IDS_HELP_ERROR);
  ReleaseCityTable();
  PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT night = 0; NightMenuMessage(window, message, wParam, lParam, &night)) return night;
  if (ServerCorrectionMessage(window, message, wParam, lParam)) return 0;

  switch (message) {
    case WM_NCCREATE:
      // The one handle of the main window, set before anything of its creation needs it.
      SetMainWindowHandle(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_CREATE:
      return OnCreate(window, reinterpret_cast<const CREATESTRUCTA *>(lParam));
    case WM_SIZE:
      if (!IsIconic(window)) SetNormalCaption(ShownTimeKind(), g_clock.productName);
      ReleaseClockFont();  // the next update makes a font for the new size
      return 0;
    case WM_PAINT:
      PaintClock(window);
      return 0;
    case WM_ERASEBKGND:
      if (EraseClockFace(reinterpret_cast<HDC>(wParam))) return 1;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_TIMER:
      TickClock(window);
      return 0;
    case WM_CLOSE:
      if (BeginClose(window)) {  // else a close is under way: nothing more
        StoreWindowGeometry(window);
        ShutDown(window);
      }
      return 0;  // not passed on: the loop ends and the process with it
    case WM_DESTROY:
      ShutDown(window);
      return 0;
    case WM_QUERYENDSESSION:
      return AnswerQueryEndSession(window);
    case WM_ENDSESSION:
      if (wParam == 0) {
        SessionEndCancelled();
      } else {
        // The process may be ended as soon as this returns: the geometry goes first.
        StoreWindowGeometry(window);
        if (BeginClose(window)) ShutDown(window);
      }
      return 0;
    case WM_TIMECHANGE:
      DropServerCorrection(window);
      CheckUniversalTimeAfterTimeChange(window, message);
      return 0;
    case WM_WININICHANGE:
      RefreshIntlSettings();
      CheckUniversalTimeAfterTimeChange(window, message);
      InvalidateRect(window, nullptr, TRUE);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_DPICHANGED: {
      // Moved to a screen of another pixel density: take the size the system suggests, so
      // the clock keeps its apparent size; the font follows through WM_SIZE.
      const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kCheckUniversalTimeMessage:
      CheckUniversalTime(window);
      return 0;
    case WM_GETOBJECT:
      return AnswerClockAccess(window, wParam, lParam);
    case WM_COMMAND:
      return OnCommand(window, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void ResetShellState() {
  const HINSTANCE instance = g_clock.instance;
  char productName[kTextSize];
  std::memcpy(productName, g_clock.productName, sizeof productName);
  g_clock = ClockState{};
  g_clock.instance = instance;
  std::memcpy(g_clock.productName, productName, sizeof productName);
  SetPendingChimeCount(0);
  ResetClockFace();
  ResetChoices();
  SetDut1Milliseconds(0);
  ResetCityTable();
  ForgetDeclinedCities();
  ResetSessionEnd();
  SetMainWindowHandle(nullptr);
}

void RegisterMainWindowClass(HINSTANCE instance) {
  g_clock.instance = instance;
  LoadText(IDS_PRODUCT_NAME, g_clock.productName);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "ICONX");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszMenuName = "MENUS";
  windowClass.lpszClassName = g_clock.productName;
  RegisterClassA(&windowClass);  // a missing class shows up as the creation failing
}

void ReadWindowGeometry(int *x, int *y, int *width, int *height) {
  LoadText(IDS_KEY_WIDTH, g_clock.keyWidth);
  LoadText(IDS_KEY_HEIGHT, g_clock.keyHeight);
  LoadText(IDS_KEY_X, g_clock.keyX);
  LoadText(IDS_KEY_Y, g_clock.keyY);
  *width = ReadSettingInt(g_clock.keyWidth, CW_USEDEFAULT);
  *height = ReadSettingInt(g_clock.keyHeight, CW_USEDEFAULT);
  *x = ReadSettingCoordinate(g_clock.keyX, CW_USEDEFAULT);
  *y = ReadSettingCoordinate(g_clock.keyY, CW_USEDEFAULT);

  // A size the system would not let the user make leaves a window that cannot be used.
  if (*width != CW_USEDEFAULT && *width < GetSystemMetrics(SM_CXMINTRACK)) *width = CW_USEDEFAULT;
  if (*height != CW_USEDEFAULT && *height < GetSystemMetrics(SM_CYMINTRACK)) *height = CW_USEDEFAULT;

  // A place saved on a monitor that is gone (or a smaller screen) would put the window where
  // nobody sees it or can grab it: enough of its caption bar must be on a monitor's work area.
  if (*x != CW_USEDEFAULT && *y != CW_USEDEFAULT) {
    const int w = *width != CW_USEDEFAULT ? *width : GetSystemMetrics(SM_CXMINTRACK);
    if (!CaptionCanBeGrabbed(*x, *y, w)) {
      *x = CW_USEDEFAULT;
      *y = CW_USEDEFAULT;
    }
  } else {
    *x = CW_USEDEFAULT;
    *y = CW_USEDEFAULT;
  }
}

HWND CreateMainWindow(int x, int y, int width, int height) {
  HWND window = CreateWindowExA(0, g_clock.productName, g_clock.productName, WS_OVERLAPPEDWINDOW,
                                x, y, width, height, nullptr, nullptr, g_clock.instance, nullptr);
  FAIL_IF(window == nullptr, IDS_WINDOW_ERROR);
  return window;
}

void DispatchClockMessage(HACCEL accelerators, MSG *message) {
  // Keys typed in the help window are its own: the clock's accelerators never see them.
  if (HandleHelpWindowMessage(message)) return;
  HWND window = MainWindowHandle();
  if (accelerators != nullptr && window != nullptr &&
      TranslateAcceleratorA(window, accelerators, message)) {
    return;
  }
  TranslateMessage(message);
  DispatchMessageA(message);
}

int RunClock(HINSTANCE instance, int showCommand) {
  ResetShellState();
  RegisterMainWindowClass(instance);
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  ReadWindowGeometry(&x, &y, &width, &height);
  HWND window = CreateMainWindow(x, y, width, height);
  ShowWindow(window, StartShowCommand(showCommand));
  UpdateWindow(window);
  HACCEL accelerators = LoadAcceleratorsA(instance, "ACCELS");
  FAIL_IF(accelerators == nullptr, IDS_NO_ACCELERATORS);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchClockMessage(accelerators, &message);
  return static_cast<int>(message.wParam);
}
