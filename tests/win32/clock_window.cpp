// The main-window fixture.
#include "clock_window.h"

#include <float.h>
#include <xmmintrin.h>

#include "location/city_table.h"
#include "shell/main_window.h"
#include "support/win32_hooks.h"

const char kTestCities[] =
    "Washington\r\n"
    "Denver              |104|59| 0|W|-7.00|1\r\n"
    "Kolkata             | 88|22| 0|E|5.50|0\r\n"
    "Washington          | 77| 0| 0|W|-5.00|0\r\n";

namespace {

WNDPROC g_realProc = nullptr;
int g_captionWrites = 0;

// Counts the caption changes on their way to the real window procedure.
LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SETTEXT) ++g_captionWrites;
  return CallWindowProcA(g_realProc, w, m, wp, lp);
}

}  // namespace

void MaskFloatingPointExceptions() {
  _clearfp();
  _controlfp(_MCW_EM, _MCW_EM);
  _mm_setcsr((_mm_getcsr() & ~0x3Fu) | _MM_MASK_MASK);
}

void ClockWindow::SetUp() {
  InstallTestHooks();
  ClearFakeRecords();
  DeleteAllSettings();
  UseFakeClock(true);
  SetFakeClock(1999, 7, 1, 12, 30, 0);  // not minute 00: opening arms no chime
  DeleteBeside("CITIES.NEW");
  WriteFileBeside("ZORKEL.DAT", kTestCities);
  ResetShellState();
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  accelerators_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), "ACCELS");
}

void ClockWindow::TearDown() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_realProc));
    DestroyWindow(window_);
  }
  Pump();
  window_ = nullptr;
  MaskFloatingPointExceptions();
  UseFakeClock(false);
  ResetShellState();
  DeleteAllSettings();
  DeleteBeside("ZORKEL.DAT");
  DeleteBeside("CITIES.NEW");
}

HWND ClockWindow::Open(int clientWidth, int clientHeight) {
  int x = 0, y = 0, width = 0, height = 0;
  ReadWindowGeometry(&x, &y, &width, &height);
  window_ = CreateMainWindow(x, y, width, height);
  g_captionWrites = 0;
  g_realProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  KillTimer(window_, 1);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  Pump();
  if (clientWidth > 0) SetClientSize(clientWidth, clientHeight);
  g_captionWrites = 0;
  return window_;
}

void ClockWindow::SetClientSize(int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, GetMenu(window_) != nullptr, 0);
  SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(window_, &client);
  // A menu bar that wraps onto a second line takes client height, never width.
  if (client.bottom != height) {
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
  }
  Pump();
}

void ClockWindow::Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;
    if (m.message == WM_TIMER) continue;  // ticks come from the test only
    if (accelerators_ != nullptr && window_ != nullptr && IsWindow(window_) &&
        TranslateAcceleratorA(window_, accelerators_, &m)) {
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

void ClockWindow::Paint() {
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void ClockWindow::PressKey(int virtualKey) {
  // F10 comes as a system key, the others as plain keys.
  const bool system = virtualKey == VK_F10;
  PostMessageA(window_, system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
  PostMessageA(window_, system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(virtualKey),
               static_cast<LPARAM>(0xC0000001u));
  Pump();
}

std::string ClockWindow::Caption() const {
  char text[256] = "";
  GetWindowTextA(window_, text, sizeof text);
  return text;
}

bool ClockWindow::Checked(HMENU menu, UINT id) const {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool ClockWindow::Greyed(HMENU menu, UINT id) const {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

bool ClockWindow::Topmost() const {
  return (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

int ClockWindow::CaptionWrites() const { return g_captionWrites; }
