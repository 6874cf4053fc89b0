// Night Colours for the dialogs and the help window. Windows lets a program choose only the
// text and background of some controls; push buttons, check marks, frames, selections and
// scroll bars keep the system's colours. So every control is drawn as usual into memory and
// shown through a red filter. Win32.
#include "display/night_paint.h"

#include <commctrl.h>

#include <cstring>

#include "display/clock_face.h"
#include "display/night_palette.h"
#include "support/system_library.h"

namespace {

constexpr UINT_PTR kFilterId = 0x4E43;  // one subclass of ours per control
bool g_rendering = false;               // our own WM_PRINTCLIENT is drawn unfiltered
constexpr char kFiltered[] = "OrvaneNightFilter";  // a property of each filtered control

int Luma(COLORREF c) {
  return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// The controls whose whole drawing goes through the filter; any other window (the help
// page) draws night colours itself and has only its frame and scroll bars filtered.
bool IsSystemControl(HWND window) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  static const char *const kClasses[] = {"Button", "Edit", "Static", "ComboBox", "ComboLBox",
                                         "ListBox", "ScrollBar"};
  for (const char *c : kClasses) {
    if (lstrcmpiA(name, c) == 0) return true;
  }
  return false;
}

// A bitmap of width x height pixels that one can read and write. Freed by hand: a
// destructor would bring the C++ library's unwinding into the program.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  DWORD *bits = nullptr;
  int count = 0;
  Canvas(HDC like, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    dc = CreateCompatibleDC(like);
    bitmap = dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0) : nullptr;
    if (bitmap != nullptr) {
      old = SelectObject(dc, bitmap);
      bits = static_cast<DWORD *>(pixels);
      count = width * height;
    }
  }
  void Free() {
    if (bitmap != nullptr) {
      SelectObject(dc, old);
      DeleteObject(bitmap);
    }
    if (dc != nullptr) DeleteDC(dc);
  }
  void MakeRed() {
    GdiFlush();
    for (int i = 0; i < count; ++i) {
      const COLORREF drawn = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
      bits[i] = static_cast<DWORD>(GetRValue(NightPixel(drawn))) << 16;
    }
  }
};

// Controls do not clip their siblings: a group box would cover the fields inside it.
// (Only what lies wholly inside is left out: the fields themselves lie inside the box.)
void ExcludeSiblings(HDC dc, HWND control, const RECT &own) {
  for (HWND other = GetWindow(control, GW_HWNDFIRST); other != nullptr;
       other = GetWindow(other, GW_HWNDNEXT)) {
    RECT r;
    if (other == control || !IsWindowVisible(other) || !GetWindowRect(other, &r)) continue;
    if (r.left >= own.left && r.top >= own.top && r.right <= own.right && r.bottom <= own.bottom) {
      ExcludeClipRect(dc, r.left - own.left, r.top - own.top, r.right - own.left,
                      r.bottom - own.top);
    }
  }
}

// Draws the control's client area as the system would, into memory, and puts the red
// version on the screen.
void PaintClientThroughFilter(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  if (client.right <= 0 || client.bottom <= 0 || !IsWindowVisible(control)) return;
  HDC target = GetDC(control);
  if (target == nullptr) return;
  {
    Canvas canvas(target, client.right, client.bottom);
    if (canvas.count > 0) {
      FillRect(canvas.dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      const bool was = g_rendering;
      g_rendering = true;
      SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc),
                   PRF_CLIENT | PRF_ERASEBKGND);
      g_rendering = was;
      canvas.MakeRed();
      RECT own = client;
      MapWindowPoints(control, nullptr, reinterpret_cast<POINT *>(&own), 2);
      ExcludeSiblings(target, control, own);
      const bool caret = HideCaret(control) != FALSE;
      BitBlt(target, 0, 0, client.right, client.bottom, canvas.dc, 0, 0, SRCCOPY);
      if (caret) ShowCaret(control);
    }
    canvas.Free();
  }
  ReleaseDC(control, target);
}

// The frame and scroll bars, just drawn by the system: read back and made red in place.
void MakeFrameRed(HWND control) {
  RECT frame;
  RECT client;
  GetWindowRect(control, &frame);
  GetClientRect(control, &client);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  POINT origin = {0, 0};
  ClientToScreen(control, &origin);
  if (width <= 0 || height <= 0 || !IsWindowVisible(control)) return;
  HDC target = GetWindowDC(control);
  if (target == nullptr) return;
  {
    Canvas canvas(target, width, height);
    if (canvas.count > 0) {
      BitBlt(canvas.dc, 0, 0, width, height, target, 0, 0, SRCCOPY);
      canvas.MakeRed();
      const int left = origin.x - frame.left;
      const int top = origin.y - frame.top;
      ExcludeClipRect(target, left, top, left + client.right, top + client.bottom);
      ExcludeSiblings(target, control, frame);
      BitBlt(target, 0, 0, width, height, canvas.dc, 0, 0, SRCCOPY);
    }
    canvas.Free();
  }
  ReleaseDC(control, target);
}

// Messages after which a control may have drawn itself straight onto the screen, outside
// its WM_PAINT: they are shown again through the filter at once.
bool MayHaveDrawnDirectly(UINT message, WPARAM wParam) {
  switch (message) {
    case BM_SETCHECK: case BM_SETSTATE: case BM_SETSTYLE: case BM_CLICK:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_SETTEXT:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_CAPTURECHANGED:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_CUT: case WM_PASTE: case WM_CLEAR:
    case WM_UNDO: case EM_SETSEL: case EM_REPLACESEL: case WM_TIMER: case WM_UPDATEUISTATE:
    case WM_MOUSELEAVE: case WM_VSCROLL: case WM_HSCROLL: case WM_MOUSEWHEEL:
    case CB_SETCURSEL: case LB_SETCURSEL:
      return true;
    case WM_MOUSEMOVE:
      return (wParam & MK_LBUTTON) != 0;
    default:
      return false;
  }
}

// The caret inverts what lies under it, which turns black paper white: a red one instead.
void MakeCaretRed(HWND edit) {
  char name[8] = "";
  GetClassNameA(edit, name, sizeof name);
  if (lstrcmpiA(name, "Edit") != 0 || GetFocus() != edit) return;
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  DWORD width = 1;
  SystemParametersInfoA(SPI_GETCARETWIDTH, 0, &width, 0);
  static HBITMAP caret = nullptr;  // the one caret of the thread, kept for the whole run
  if (caret != nullptr) DeleteObject(caret);
  caret = CreateCompatibleBitmap(dc, static_cast<int>(width), metrics.tmHeight);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, caret);
  RECT all = {0, 0, static_cast<int>(width), metrics.tmHeight};
  FillRect(memory, &all, ShownBrush(COLOR_WINDOWTEXT));
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(edit, dc);
  POINT at = {0, 0};
  GetCaretPos(&at);
  CreateCaret(edit, caret, 0, 0);
  SetCaretPos(at.x, at.y);
  ShowCaret(edit);
}

LRESULT CALLBACK FilterProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR clientToo) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, FilterProc, kFilterId);
    RemovePropA(control, kFiltered);
  }
  if (!NightColours() || g_rendering) return DefSubclassProc(control, message, wParam, lParam);
  if (message == WM_ERASEBKGND && clientToo != 0) return 1;  // the filtered paint covers it
  if (message == WM_PAINT && clientToo != 0) {
    PAINTSTRUCT paint;
    BeginPaint(control, &paint);
    EndPaint(control, &paint);
    PaintClientThroughFilter(control);
    return 0;
  }
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  if (message == WM_SETFOCUS) MakeCaretRed(control);
  if (message == WM_NCPAINT) {
    MakeFrameRed(control);
  } else if (MayHaveDrawnDirectly(message, wParam) || message == WM_PAINT || message == WM_SIZE) {
    if (clientToo != 0) PaintClientThroughFilter(control);
    // Scroll bars are drawn straight away when they move: the frame is drawn again, red.
    if (GetWindowLongA(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) {
      SendMessageA(control, WM_NCPAINT, 1, 0);
    }
  }
  return result;
}

void Filter(HWND control, bool clientToo) {
  SetWindowSubclass(control, FilterProc, kFilterId, clientToo ? 1 : 0);
  if (clientToo) SetPropA(control, kFiltered, reinterpret_cast<HANDLE>(1));
}

BOOL CALLBACK FilterChild(HWND child, LPARAM) {
  Filter(child, IsSystemControl(child));
  // A combo box's list is a window of its own, outside the dialog.
  COMBOBOXINFO combo = {};
  combo.cbSize = sizeof combo;
  if (GetComboBoxInfo(child, &combo) && combo.hwndList != nullptr) {
    Filter(combo.hwndList, true);
  }
  return TRUE;
}

// Taken off before the controls go, so that each is destroyed by its own class's procedure.
BOOL CALLBACK UnfilterChild(HWND child, LPARAM) {
  RemoveWindowSubclass(child, FilterProc, kFilterId);
  RemovePropA(child, kFiltered);
  COMBOBOXINFO combo = {};
  combo.cbSize = sizeof combo;
  if (GetComboBoxInfo(child, &combo) && combo.hwndList != nullptr) {
    RemoveWindowSubclass(combo.hwndList, FilterProc, kFilterId);
    RemovePropA(combo.hwndList, kFiltered);
  }
  return TRUE;
}

void PrepareForNight(HWND window) {
  EnumChildWindows(window, FilterChild, 0);
  ApplyNightTitleBar(window);
}

BOOL CALLBACK ShowNightColoursIn(HWND window, LPARAM) {
  ApplyNightTitleBar(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

}  // namespace

COLORREF NightPixel(COLORREF drawn) {
  const int paper = Luma(GetSysColor(COLOR_BTNFACE));
  const int luma = Luma(drawn);
  // On a dark scheme the light strokes are the ink.
  const int ink = paper < 128 ? luma : (paper > luma ? (paper - luma) * 255 / paper : 0);
  return RGB(ink * GetRValue(kNightInk) / 255, 0, 0);
}

COLORREF ShownColour(int systemColour) {
  if (!NightColours()) return GetSysColor(systemColour);
  switch (systemColour) {
    case COLOR_WINDOW: case COLOR_BTNFACE: case COLOR_MENU: case COLOR_MENUBAR:
    case COLOR_APPWORKSPACE:
      return kNightPaper;
    case COLOR_GRAYTEXT: case COLOR_BTNSHADOW:
      return kNightDim;
    case COLOR_HIGHLIGHT: case COLOR_MENUHILIGHT:
      return kNightSelection;
    case COLOR_HOTLIGHT: case COLOR_HIGHLIGHTTEXT:
      return kNightBright;
    default:
      return kNightInk;
  }
}

HBRUSH ShownBrush(int systemColour) {
  if (!NightColours()) return GetSysColorBrush(systemColour);
  static HBRUSH brushes[4] = {};
  static const COLORREF kColours[4] = {kNightPaper, kNightDim, kNightSelection, kNightInk};
  const COLORREF wanted = ShownColour(systemColour);
  for (int i = 0; i < 4; ++i) {
    if (kColours[i] != wanted) continue;
    if (brushes[i] == nullptr) brushes[i] = CreateSolidBrush(wanted);
    return brushes[i];
  }
  return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void ApplyNightTitleBar(HWND window) {
  constexpr char kDark[] = "OrvaneDarkTitleBar";
  const bool dark = NightColours();
  if (!dark && GetPropA(window, kDark) == nullptr) return;  // never made dark: nothing to undo
  // Looked up at run time, once: the program also runs where there is no dwmapi.dll.
  using SetAttribute = HRESULT(WINAPI *)(HWND, DWORD, LPCVOID, DWORD);
  static SetAttribute set = nullptr;
  static bool looked = false;
  if (!looked) {
    looked = true;
    set = SystemCall<SetAttribute>("dwmapi.dll", "DwmSetWindowAttribute");
  }
  if (dark) {
    SetPropA(window, kDark, reinterpret_cast<HANDLE>(1));
  } else {
    RemovePropA(window, kDark);
  }
  if (set == nullptr) return;
  const BOOL value = dark ? TRUE : FALSE;
  // The immersive dark mode attribute: 20 since Windows 10 20H1, 19 before it.
  if (FAILED(set(window, 20, &value, sizeof value))) set(window, 19, &value, sizeof value);
}

bool NightWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  switch (message) {
    case WM_INITDIALOG:
      PrepareForNight(window);
      return false;  // the dialog's own opening follows
    case WM_SHOWWINDOW:
      if (wParam != 0) PrepareForNight(window);
      return false;
    case WM_DESTROY:
      EnumChildWindows(window, UnfilterChild, 0);
      RemovePropA(window, "OrvaneDarkTitleBar");
      return false;
    case WM_ERASEBKGND:
      if (!NightColours()) return false;
      {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, ShownBrush(COLOR_BTNFACE));
      }
      *result = 1;
      return true;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      // A filtered control draws in the system's colours, which the filter turns red; one
      // that is not (and the dialog itself) is given red on black.
      if (!NightColours() || (message != WM_CTLCOLORDLG &&
                              GetPropA(reinterpret_cast<HWND>(lParam), kFiltered) != nullptr)) {
        return false;
      }
      SetTextColor(reinterpret_cast<HDC>(wParam), kNightInk);
      SetBkColor(reinterpret_cast<HDC>(wParam), kNightPaper);
      *result = reinterpret_cast<LRESULT>(ShownBrush(COLOR_BTNFACE));
      return true;
    default:
      return false;
  }
}

INT_PTR NightDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!NightWindowMessage(dialog, message, wParam, lParam, &result)) return 0;
  return static_cast<INT_PTR>(result);
}

void ShowNightColoursInEveryWindow() {
  EnumThreadWindows(GetCurrentThreadId(), ShowNightColoursIn, 0);
}

void DrawShownFocusRect(HDC dc, const RECT *box) {
  if (!NightColours()) {
    DrawFocusRect(dc, box);
    return;
  }
  FrameRect(dc, box, ShownBrush(COLOR_GRAYTEXT));
}
