// The help window's text view and its fonts: the page laid out for the view's width, scrolled
// by the bars, the wheel and the keys, its links reached with Tab, Enter and the mouse. Each
// view keeps its own record, made with the window and freed with it. Win32.
#include "help/help_view.h"

#include <cstdlib>
#include <cstring>

#include "help/help_access.h"
#include "help/help_view_state.h"
#include "support/system_library.h"

const char kHelpViewClass[] = "Orvane2HelpView";

namespace {

// Mouse positions are signed 16-bit values.
int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// The system's message font at the window's DPI.
LOGFONTW MessageFont(int dpi) {
  using SpiForDpiFn = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT);
  const SpiForDpiFn spiForDpi = SystemCall<SpiForDpiFn>("user32.dll", "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (spiForDpi != nullptr &&
      spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return metrics.lfMessageFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi > 0 ? systemDpi : 96);
  return metrics.lfMessageFont;
}

void Measure(HDC dc, HFONT font, HelpFontMetrics *out) {
  HGDIOBJ old = SelectObject(dc, font);
  INT widths[256] = {};
  if (!GetCharWidth32A(dc, 0, 255, widths)) {
    for (int &w : widths) w = 8;
  }
  for (int i = 0; i < 256; ++i) out->widths[i] = widths[i];
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  out->lineHeight = tm.tmHeight + tm.tmExternalLeading;
  SelectObject(dc, old);
}

}  // namespace

int HelpWindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
  const GetDpiForWindowFn getDpi = SystemCall<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
  if (getDpi != nullptr && window != nullptr) {
    const UINT dpi = getDpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

namespace {

int Scale(const HelpViewState &v, int pixels) { return MulDiv(pixels, v.dpi, 96); }

void DeleteFonts(HelpViewState &v) {
  for (int i = 0; i < kHelpStyleCount; ++i) {
    if (v.fonts[i] != nullptr) DeleteObject(v.fonts[i]);
    if (v.linkFonts[i] != nullptr) DeleteObject(v.linkFonts[i]);
    v.fonts[i] = v.linkFonts[i] = nullptr;
  }
}

// Prose in the message font, the heading bolder and larger, columns in a fixed-pitch font of
// the same height, links underlined.
void MakeFonts(HWND view, HelpViewState &v) {
  DeleteFonts(v);
  LOGFONTW prose = MessageFont(v.dpi);
  LOGFONTW heading = prose;
  heading.lfWeight = FW_BOLD;
  heading.lfHeight = prose.lfHeight * 4 / 3;
  LOGFONTW fixed = prose;
  fixed.lfWeight = FW_NORMAL;
  fixed.lfItalic = FALSE;
  fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::memcpy(fixed.lfFaceName, L"Courier New", sizeof L"Courier New");
  const LOGFONTW *faces[kHelpStyleCount] = {&prose, &heading, &fixed};
  HDC dc = GetDC(view);
  for (int i = 0; i < kHelpStyleCount; ++i) {
    LOGFONTW f = *faces[i];
    v.fonts[i] = CreateFontIndirectW(&f);
    f.lfUnderline = TRUE;
    v.linkFonts[i] = CreateFontIndirectW(&f);
    HFONT measured = v.fonts[i];
    if (measured == nullptr) measured = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Measure(dc, measured, &v.metrics.fonts[i]);
  }
  ReleaseDC(view, dc);
  v.metrics.margin = Scale(v, 10);
  v.metrics.indent = Scale(v, 18);
}

// Lays the page out again when the view's width has changed (or always, with `force`).
void Relayout(HWND view, HelpViewState &v, bool force) {
  RECT client;
  GetClientRect(view, &client);
  if (!force && client.right == v.layoutWidth) return;
  FreeHelpLayout(&v.layout);
  v.layoutWidth = client.right;
  v.focusedLink = -1;
  LayOutHelpPage(v.title, v.body, v.document, v.metrics, client.right, &v.layout);
  UpdateHelpViewScrollBars(view, v);
  InvalidateRect(view, nullptr, TRUE);
}

void Clear(HelpViewState &v) {
  FreeHelpLayout(&v.layout);
  v.layoutWidth = -1;
  v.title = "";
  v.body = "";
  v.document = nullptr;
  v.focusedLink = -1;
  v.pressedLink = -1;
}

void ScrollLinkIntoView(HWND view, HelpViewState &v, int link) {
  const HelpLink &l = v.layout.links[link];
  if (l.runCount == 0) return;
  const HelpRun &first = v.layout.runs[l.firstRun];
  RECT client;
  GetClientRect(view, &client);
  const int height = v.metrics.fonts[first.style].lineHeight;
  const int margin = v.metrics.margin;
  int y = v.scrollY;
  if (first.y < y) y = first.y - margin;
  if (first.y + height > y + client.bottom) y = first.y + height - client.bottom + margin;
  int x = v.scrollX;
  if (first.x < x) x = first.x - margin;
  if (first.x + first.width > x + client.right) x = first.x + first.width - client.right;
  ScrollHelpViewTo(view, v, x, y);
}

// The link after (or before) the focused one that has something to click; -1 when none.
int NextLink(const HelpViewState &v, bool backwards) {
  const int n = v.layout.linkCount;
  int i = v.focusedLink;
  for (;;) {
    i = backwards ? (i < 0 ? n - 1 : i - 1) : i + 1;
    if (i < 0 || i >= n) return -1;
    if (v.layout.links[i].runCount > 0) return i;
  }
}

void FocusLink(HWND view, HelpViewState &v, int link) {
  v.focusedLink = link;
  if (link >= 0) ScrollLinkIntoView(view, v, link);
  InvalidateRect(view, nullptr, TRUE);
}

// Tells the parent; it may show another page before this returns.
void Notify(HWND view, UINT code, const char *target, int targetLength) {
  HelpViewNotice notice = {};
  notice.header.hwndFrom = view;
  notice.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view));
  notice.header.code = code;
  notice.target = target;
  notice.targetLength = targetLength;
  SendMessageA(GetParent(view), WM_NOTIFY, notice.header.idFrom, reinterpret_cast<LPARAM>(&notice));
}

void FollowLink(HWND view, const HelpViewState &v, int link) {
  if (link < 0 || link >= v.layout.linkCount) return;
  const HelpLink &l = v.layout.links[link];
  Notify(view, kHelpViewFollowLink, l.target, l.targetLength);
}

// The view's keys: Tab to the next link, Enter to follow it, the arrows and paging keys to
// scroll. False for a key the view leaves to the default procedure.
bool OnViewKey(HWND view, HelpViewState &v, WPARAM key, int line, int viewHeight) {
  const int x = v.scrollX, y = v.scrollY;
  switch (key) {
    case VK_TAB: {
      const int next = NextLink(v, GetKeyState(VK_SHIFT) < 0);
      if (next >= 0) FocusLink(view, v, next);
      return true;
    }
    case VK_RETURN: FollowLink(view, v, v.focusedLink); return true;
    case VK_UP: ScrollHelpViewTo(view, v, x, y - line); return true;
    case VK_DOWN: ScrollHelpViewTo(view, v, x, y + line); return true;
    case VK_PRIOR: ScrollHelpViewTo(view, v, x, y - (viewHeight - line)); return true;
    case VK_NEXT: ScrollHelpViewTo(view, v, x, y + (viewHeight - line)); return true;
    case VK_HOME: ScrollHelpViewTo(view, v, 0, 0); return true;
    case VK_END: ScrollHelpViewTo(view, v, x, v.layout.height); return true;
    case VK_LEFT: ScrollHelpViewTo(view, v, x - line, y); return true;
    case VK_RIGHT: ScrollHelpViewTo(view, v, x + line, y); return true;
    default: return false;
  }
}

// Tab moves between the links while there is one to go to, then on to the buttons; Enter
// follows the chosen link.
LRESULT DialogCode(const HelpViewState &v, const MSG *m) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (m != nullptr && m->message == WM_KEYDOWN) {
    if (m->wParam == VK_TAB && NextLink(v, GetKeyState(VK_SHIFT) < 0) >= 0) code |= DLGC_WANTTAB;
    if (m->wParam == VK_RETURN && v.focusedLink >= 0) code |= DLGC_WANTMESSAGE;
  }
  return code;
}

// The record is made before anything else reaches the view and freed after all else.
bool OnLifeMessage(HWND view, UINT message, LRESULT *result) {
  HelpViewState *v = HelpViewStateOf(view);
  if (message == WM_NCCREATE) {
    v = static_cast<HelpViewState *>(std::calloc(1, sizeof(HelpViewState)));
    if (v == nullptr) {
      *result = FALSE;  // no window without its record
      return true;
    }
    Clear(*v);
    SetWindowLongPtrA(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    return false;
  }
  if (message == WM_CREATE && v != nullptr) {
    // A child takes the DPI of the window it stands in.
    v->dpi = HelpWindowDpi(GetParent(view));
    MakeFonts(view, *v);
    *result = 0;
    return true;
  }
  if (message == WM_NCDESTROY && v != nullptr) {
    SetWindowLongPtrA(view, GWLP_USERDATA, 0);
    Clear(*v);
    DeleteFonts(*v);
    std::free(v);
  }
  return false;
}

LRESULT OnMouse(HWND view, HelpViewState &v, UINT message, WPARAM wParam, LPARAM lParam) {
  const int link = HelpLinkAt(v.layout, PointX(lParam) + v.scrollX, PointY(lParam) + v.scrollY);
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(view);
      v.pressedLink = link;
      if (link >= 0) FocusLink(view, v, link);
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = v.pressedLink;
      v.pressedLink = -1;
      if (link >= 0 && link == pressed) FollowLink(view, v, link);
      return 0;
    }
    default:  // WM_XBUTTONUP
      if (HIWORD(wParam) == XBUTTON1) Notify(view, kHelpViewGoBack, nullptr, 0);
      return TRUE;
  }
}

}  // namespace

LRESULT CALLBACK HelpViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; OnLifeMessage(view, message, &result)) return result;
  HelpViewState *state = HelpViewStateOf(view);
  if (state == nullptr) return DefWindowProcA(view, message, wParam, lParam);
  HelpViewState &v = *state;
  RECT client;
  GetClientRect(view, &client);
  const int line = v.metrics.fonts[kHelpProseStyle].lineHeight;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(view, &paint);
      if (dc != nullptr) PaintHelpView(view, v, dc, paint.rcPaint);
      EndPaint(view, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint fills what it draws
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(v.fonts[kHelpProseStyle]);
    case kHelpViewSetDpi:
      if (static_cast<int>(wParam) == v.dpi && v.fonts[kHelpProseStyle] != nullptr) return 0;
      v.dpi = static_cast<int>(wParam);
      MakeFonts(view, v);
      Relayout(view, v, true);
      return 0;
    case WM_SIZE:
      Relayout(view, v, false);
      UpdateHelpViewScrollBars(view, v);
      return 0;
    case WM_VSCROLL: {
      const int page = client.bottom - line;
      ScrollHelpViewTo(view, v, v.scrollX,
                       HelpScrollPosition(view, SB_VERT, wParam, v.scrollY, line, page, v.layout.height));
      return 0;
    }
    case WM_HSCROLL: {
      const int page = client.right - line;
      const int x = HelpScrollPosition(view, SB_HORZ, wParam, v.scrollX, line, page, v.layout.width);
      ScrollHelpViewTo(view, v, x, v.scrollY);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollHelpViewTo(view, v, v.scrollX,
                       v.scrollY - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * line / WHEEL_DELTA);
      return 0;
    case WM_GETDLGCODE:
      return DialogCode(v, reinterpret_cast<const MSG *>(lParam));
    case WM_KEYDOWN:
      if (OnViewKey(view, v, wParam, line, client.bottom)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(view, nullptr, TRUE);  // the focus box of the chosen link
      return 0;
    case WM_GETOBJECT:
      return AnswerHelpViewAccess(view, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_XBUTTONUP:
      return OnMouse(view, v, message, wParam, lParam);
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(view, &p);
        const bool overLink = HelpLinkAt(v.layout, p.x + v.scrollX, p.y + v.scrollY) >= 0;
        SetCursor(LoadCursorA(nullptr, overLink ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

void RegisterHelpViewClass(HINSTANCE instance) {
  WNDCLASSA viewClass = {};
  if (GetClassInfoA(instance, kHelpViewClass, &viewClass)) return;
  viewClass.lpfnWndProc = HelpViewProc;
  viewClass.hInstance = instance;
  viewClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  viewClass.lpszClassName = kHelpViewClass;
  RegisterClassA(&viewClass);
}

void ShowHelpViewPage(HWND view, const char *title, const char *body, const HelpDocument *document,
                      int scrollY) {
  HelpViewState *v = HelpViewStateOf(view);
  if (v == nullptr) return;
  v->title = title;
  v->body = body;
  v->document = document;
  v->scrollX = 0;
  v->scrollY = scrollY;
  Relayout(view, *v, true);
}

void ClearHelpView(HWND view) {
  if (HelpViewState *v = HelpViewStateOf(view)) Clear(*v);
}

bool FollowFocusedHelpLink(HWND view) {
  const HelpViewState *v = HelpViewStateOf(view);
  if (v == nullptr || v->focusedLink < 0) return false;
  FollowLink(view, *v, v->focusedLink);
  return true;
}

