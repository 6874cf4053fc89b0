// Start-up, the main window procedure and the one-second tick. Win32.
#include "shell/main_window.h"

#include <cstdio>
#include <cstring>

#include "display/clock_face.h"
#include "display/intl.h"
#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/win32_hooks.h"

MainWindowState g_main = {};

namespace {

constexpr UINT_PTR kClockTimer = 1;

void PaintClock(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  UpdateClockFace(dc, g_main.timeKind, g_main.location, 1);
  EndPaint(window, &paint);
}

void TickClock(HWND window) {
  HDC dc = GetDC(window);
  FAIL_IF(dc == nullptr, IDS_GDI_ERROR);
  UpdateClockFace(dc, g_main.timeKind, g_main.location, 0);
  FAIL_IF(ReleaseDC(window, dc) == 0, IDS_GDI_ERROR);
}

void ShutDown(HWND window) {
  ReleaseClockFont();
  KillTimer(window, kClockTimer);
  PostQuitMessage(0);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA *create) {
  g_main.instance = create->hInstance;
  char name[kTextSize];
  LoadText(IDS_NO_NAME, name);
  std::snprintf(g_main.location.name, sizeof g_main.location.name, "%s", name);
  g_main.location.hemisphere = kWest;
  FAIL_IF(SetTimer(window, kClockTimer, 1000, nullptr) == 0, IDS_NO_TIMER);
  RefreshIntlSettings();
  return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_main.window = window;
  SetMainWindowHandle(window);
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, reinterpret_cast<const CREATESTRUCTA *>(lParam));
    case WM_SIZE:
      if (!IsIconic(window)) SetNormalCaption(g_main.timeKind, g_main.productName);
      ReleaseClockFont();
      return 0;
    case WM_PAINT:
      PaintClock(window);
      return 0;
    case WM_TIMER:
      TickClock(window);
      return 0;
    case WM_CLOSE:
      ShutDown(window);
      return 0;
    case WM_DESTROY:
      ShutDown(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterMainWindowClass(HINSTANCE instance) {
  g_main.instance = instance;
  LoadText(IDS_PRODUCT_NAME, g_main.productName);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "ICONX");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = g_main.productName;
  RegisterClassA(&windowClass);  // a missing class shows up as the creation failing
}

HWND CreateMainWindow(int x, int y, int width, int height) {
  HWND window = CreateWindowExA(0, g_main.productName, g_main.productName, WS_OVERLAPPEDWINDOW,
                                x, y, width, height, nullptr, nullptr, g_main.instance, nullptr);
  FAIL_IF(window == nullptr, IDS_WINDOW_ERROR);
  g_main.window = window;
  SetMainWindowHandle(window);
  return window;
}

int RunClock(HINSTANCE instance, int showCommand) {
  RegisterMainWindowClass(instance);
  HWND window = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
