// The main-window fixture.
#include "clock_window.h"

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

void ClockWindow::SetUp() {
  InstallTestHooks();
  ClearFakeRecords();
  DeleteAllSettings();
  UseFakeClock(true);
  SetFakeClock(1999, 7, 1, 12, 30, 0);  // not minute 00: opening arms no chime
  g_fake.computerZoneSeconds = -5 * 3600;  // the computer keeps Washington's time
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
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  Pump();
  if (clientWidth > 0) SetClientSize(clientWidth, clientHeight);
  KillTimer(window_, kClockTimerId);  // start-up's, or the one a posted time scale aimed anew
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
    DispatchClockMessage(window_ != nullptr && IsWindow(window_) ? accelerators_ : nullptr, &m);
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

namespace {

const std::function<void(HWND)> *g_script = nullptr;
bool g_scriptRan = false;
bool g_dialogLeftOpen = false;

BOOL CALLBACK FindDialog(HWND w, LPARAM found) {
  char name[32];
  GetClassNameA(w, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND *>(found) = w;
    return FALSE;
  }
  return TRUE;
}

// A dialog without WS_VISIBLE is shown only once its modal loop runs idle: the timer keeps
// looking until it is there.
void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, id);
  g_scriptRan = true;
  (*g_script)(dialog);
  if (IsWindow(dialog) && IsWindowVisible(dialog)) {
    g_dialogLeftOpen = true;
    EndDialog(dialog, 0);
  }
}

}  // namespace

void ClockWindow::WithDialog(int id, const std::function<void(HWND dialog)> &script) {
  g_script = &script;
  g_scriptRan = false;
  g_dialogLeftOpen = false;
  SetTimer(nullptr, 0, 10, RunScript);
  Command(id);
  g_script = nullptr;
  EXPECT_TRUE(g_scriptRan) << "the dialog did not open";
  EXPECT_FALSE(g_dialogLeftOpen) << "the script left the dialog open";
}

HWND ComboEdit(HWND dialog) {
  HWND combo = GetDlgItem(dialog, 115);
  return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

void TypeInto(HWND edit, const std::string &text) {
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 1);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ChooseListItem(HWND dialog, const std::string &name) {
  HWND combo = GetDlgItem(dialog, 115);
  const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(115, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string FieldText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetField(HWND dialog, int id, const std::string &text) { SetDlgItemTextA(dialog, id, text.c_str()); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool SendRealKey(WORD virtualKey) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = virtualKey;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, input, sizeof(INPUT)) == 2;
}

bool SendRealClick(POINT screen) {
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input[3] = {};
  for (INPUT &i : input) {
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(screen.x, 65535, width - 1);
    i.mi.dy = MulDiv(screen.y, 65535, height - 1);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  return SendInput(3, input, sizeof(INPUT)) == 3;
}

bool PumpUntilClosed(HWND dialog) {
  for (int i = 0; i < 200 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_TIMER && m.hwnd == nullptr) continue;  // another script's timer
      if (!IsDialogMessageA(dialog, &m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    Sleep(10);
  }
  return !IsWindow(dialog) || !IsWindowVisible(dialog);
}
