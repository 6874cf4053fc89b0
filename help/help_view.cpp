// The help window's text view and fonts: the page drawn by the program from the portable
// layout, with the advances the layout measured, scrolled by the bars, the wheel and the
// keys, its links reached with Tab, Enter and the mouse. Win32.
#include "help/help_view.h"

#include <cstring>

#include "display/night_paint.h"
#include "support/system_library.h"

const char kHelpViewClass[] = "Orvane2HelpView";
HelpViewState g_helpView;

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

int ScaleForHelp(int pixels) { return MulDiv(pixels, g_helpView.dpi, 96); }

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

void DeleteHelpFonts() {
  for (int i = 0; i < kHelpStyleCount; ++i) {
    if (g_helpView.fonts[i] != nullptr) DeleteObject(g_helpView.fonts[i]);
    if (g_helpView.linkFonts[i] != nullptr) DeleteObject(g_helpView.linkFonts[i]);
    g_helpView.fonts[i] = g_helpView.linkFonts[i] = nullptr;
  }
}


HFONT HelpUiFont() { return g_helpView.fonts[kHelpProseStyle]; }

// Prose in the message font, the heading bolder and larger, columns in a fixed-pitch font of
// the same height, links underlined.
void MakeHelpFonts(HWND window) {
  DeleteHelpFonts();
  LOGFONTW prose = MessageFont(g_helpView.dpi);
  LOGFONTW heading = prose;
  heading.lfWeight = FW_BOLD;
  heading.lfHeight = prose.lfHeight * 4 / 3;
  LOGFONTW fixed = prose;
  fixed.lfWeight = FW_NORMAL;
  fixed.lfItalic = FALSE;
  fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::memcpy(fixed.lfFaceName, L"Courier New", sizeof L"Courier New");
  const LOGFONTW *faces[kHelpStyleCount] = {&prose, &heading, &fixed};
  HDC dc = GetDC(window);
  for (int i = 0; i < kHelpStyleCount; ++i) {
    LOGFONTW f = *faces[i];
    g_helpView.fonts[i] = CreateFontIndirectW(&f);
    f.lfUnderline = TRUE;
    g_helpView.linkFonts[i] = CreateFontIndirectW(&f);
    HFONT measured = g_helpView.fonts[i];
    if (measured == nullptr) measured = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Measure(dc, measured, &g_helpView.metrics->fonts[i]);
  }
  ReleaseDC(window, dc);
  g_helpView.metrics->margin = ScaleForHelp(10);
  g_helpView.metrics->indent = ScaleForHelp(18);
}

namespace {

void UpdateScrollBars() {
  RECT client;
  GetClientRect(g_helpView.view, &client);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  const int maxY = g_helpView.layout.height - client.bottom;
  if (g_helpView.scrollY > maxY) g_helpView.scrollY = maxY;
  if (g_helpView.scrollY < 0) g_helpView.scrollY = 0;
  info.nMax = g_helpView.layout.height > 0 ? g_helpView.layout.height - 1 : 0;
  info.nPage = static_cast<UINT>(client.bottom > 0 ? client.bottom : 0);
  info.nPos = g_helpView.scrollY;
  SetScrollInfo(g_helpView.view, SB_VERT, &info, TRUE);
  const int maxX = g_helpView.layout.width - client.right;
  if (g_helpView.scrollX > maxX) g_helpView.scrollX = maxX;
  if (g_helpView.scrollX < 0) g_helpView.scrollX = 0;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = g_helpView.layout.width > client.right ? g_helpView.layout.width - 1 : 0;
  info.nPage = static_cast<UINT>(client.right > 0 ? client.right : 0);
  info.nPos = g_helpView.scrollX;
  SetScrollInfo(g_helpView.view, SB_HORZ, &info, TRUE);
}

}  // namespace

void RelayoutHelpView(bool force) {
  if (g_helpView.view == nullptr || g_helpView.metrics == nullptr) return;
  RECT client;
  GetClientRect(g_helpView.view, &client);
  if (!force && client.right == g_helpView.layoutWidth) return;
  FreeHelpLayout(&g_helpView.layout);
  g_helpView.layoutWidth = client.right;
  g_helpView.focusedLink = -1;
  LayOutHelpPage(g_helpView.title, g_helpView.body, g_helpView.document, *g_helpView.metrics, client.right,
                 &g_helpView.layout);
  UpdateScrollBars();
  InvalidateRect(g_helpView.view, nullptr, TRUE);
}

void ShowHelpViewPage(const char *title, const char *body, const HelpDocument *document, int scrollY) {
  g_helpView.title = title;
  g_helpView.body = body;
  g_helpView.document = document;
  g_helpView.scrollX = 0;
  g_helpView.scrollY = scrollY;
  RelayoutHelpView(true);
}

void ClearHelpView() {
  FreeHelpLayout(&g_helpView.layout);
  g_helpView.layoutWidth = -1;
  g_helpView.title = "";
  g_helpView.body = "";
  g_helpView.document = nullptr;
  g_helpView.focusedLink = -1;
  g_helpView.pressedLink = -1;
}

namespace {

void ScrollTo(int x, int y) {
  g_helpView.scrollX = x;
  g_helpView.scrollY = y;
  UpdateScrollBars();
  InvalidateRect(g_helpView.view, nullptr, TRUE);
}

void ScrollLinkIntoView(int link) {
  const HelpLink &l = g_helpView.layout.links[link];
  if (l.runCount == 0) return;
  const HelpRun &first = g_helpView.layout.runs[l.firstRun];
  RECT client;
  GetClientRect(g_helpView.view, &client);
  const int height = g_helpView.metrics->fonts[first.style].lineHeight;
  int y = g_helpView.scrollY;
  if (first.y < y) y = first.y - g_helpView.metrics->margin;
  if (first.y + height > y + client.bottom) y = first.y + height - client.bottom + g_helpView.metrics->margin;
  int x = g_helpView.scrollX;
  if (first.x < x) x = first.x - g_helpView.metrics->margin;
  if (first.x + first.width > x + client.right) x = first.x + first.width - client.right;
  ScrollTo(x, y);
}

// The link after (or before) the focused one that has something to click; -1 when none.
int NextLink(bool backwards) {
  const int n = g_helpView.layout.linkCount;
  int i = g_helpView.focusedLink;
  for (;;) {
    i = backwards ? (i < 0 ? n - 1 : i - 1) : i + 1;
    if (i < 0 || i >= n) return -1;
    if (g_helpView.layout.links[i].runCount > 0) return i;
  }
}

void FocusLink(int link) {
  g_helpView.focusedLink = link;
  if (link >= 0) ScrollLinkIntoView(link);
  InvalidateRect(g_helpView.view, nullptr, TRUE);
}

// Draws a run with the advances the layout measured, so that text, links and the places
// the mouse finds them always agree (the font may place glyphs a fraction apart).
void DrawRun(HDC dc, const HelpRun &run, int x, int y) {
  const int *widths = g_helpView.metrics->fonts[run.style].widths;
  INT advances[256];
  for (int done = 0; done < run.length;) {
    const int n = run.length - done < 256 ? run.length - done : 256;
    int width = 0;
    for (int i = 0; i < n; ++i) {
      advances[i] = widths[static_cast<unsigned char>(run.text[done + i])];
      width += advances[i];
    }
    ExtTextOutA(dc, x, y, 0, nullptr, run.text + done, static_cast<UINT>(n), advances);
    x += width;
    done += n;
  }
}

void PaintView(HWND view) {
  HelpViewState &v = g_helpView;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(view, &paint);
  if (dc == nullptr) return;
  FillRect(dc, &paint.rcPaint, ShownBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, v.fonts[kHelpProseStyle]);
  const COLORREF text = ShownColour(COLOR_WINDOWTEXT);
  // The system's link colour, so that a high-contrast scheme shows links as it means to.
  const COLORREF link = ShownColour(COLOR_HOTLIGHT);
  const bool focused = GetFocus() == view;
  for (int i = HelpLineAt(v.layout, v.scrollY + paint.rcPaint.top); i < v.layout.lineCount; ++i) {
    const HelpLine &line = v.layout.lines[i];
    if (line.y - v.scrollY >= paint.rcPaint.bottom) break;
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      const HelpRun &run = v.layout.runs[r];
      SelectObject(dc, run.link >= 0 ? v.linkFonts[run.style] : v.fonts[run.style]);
      SetTextColor(dc, run.link >= 0 ? link : text);
      const int y = run.y - v.scrollY + line.height - v.metrics->fonts[run.style].lineHeight;
      DrawRun(dc, run, run.x - v.scrollX, y);
      if (focused && run.link >= 0 && run.link == v.focusedLink) {
        RECT box = {run.x - v.scrollX - 1, y, run.x - v.scrollX + run.width + 1,
                    y + v.metrics->fonts[run.style].lineHeight};
        DrawShownFocusRect(dc, &box);
      }
    }
  }
  SelectObject(dc, oldFont);
  EndPaint(view, &paint);
}

int ScrollPosition(int bar, WPARAM wParam, int position, int line, int page, int limit) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: return position - line;
    case SB_LINEDOWN: return position + line;
    case SB_PAGEUP: return position - page;
    case SB_PAGEDOWN: return position + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return limit;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(g_helpView.view, bar, &info);
      return info.nTrackPos;
    }
    default: return position;
  }
}

// The view's keys: Tab to the next link, Enter to follow it, the arrows and paging keys to
// scroll. False for a key the view leaves to the default procedure.
bool OnViewKey(WPARAM key, int line, int viewHeight) {
  switch (key) {
    case VK_TAB: {
      const int next = NextLink(GetKeyState(VK_SHIFT) < 0);
      if (next >= 0) FocusLink(next);
      return true;
    }
    case VK_RETURN: FollowHelpLink(g_helpView.focusedLink); return true;
    case VK_UP: ScrollTo(g_helpView.scrollX, g_helpView.scrollY - line); return true;
    case VK_DOWN: ScrollTo(g_helpView.scrollX, g_helpView.scrollY + line); return true;
    case VK_PRIOR: ScrollTo(g_helpView.scrollX, g_helpView.scrollY - (viewHeight - line)); return true;
    case VK_NEXT: ScrollTo(g_helpView.scrollX, g_helpView.scrollY + (viewHeight - line)); return true;
    case VK_HOME: ScrollTo(0, 0); return true;
    case VK_END: ScrollTo(g_helpView.scrollX, g_helpView.layout.height); return true;
    case VK_LEFT: ScrollTo(g_helpView.scrollX - line, g_helpView.scrollY); return true;
    case VK_RIGHT: ScrollTo(g_helpView.scrollX + line, g_helpView.scrollY); return true;
    default: return false;
  }
}

}  // namespace

LRESULT CALLBACK HelpViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  HelpViewState &v = g_helpView;
  RECT client;
  GetClientRect(view, &client);
  const int line = v.metrics != nullptr ? v.metrics->fonts[kHelpProseStyle].lineHeight : 16;
  switch (message) {
    case WM_PAINT:
      PaintView(view);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills what it draws
    case WM_SIZE:
      RelayoutHelpView(false);
      UpdateScrollBars();
      return 0;
    case WM_VSCROLL:
      ScrollTo(v.scrollX, ScrollPosition(SB_VERT, wParam, v.scrollY, line, client.bottom - line,
                                         v.layout.height));
      return 0;
    case WM_HSCROLL:
      ScrollTo(ScrollPosition(SB_HORZ, wParam, v.scrollX, line, client.right - line, v.layout.width),
               v.scrollY);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(v.scrollX, v.scrollY - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * line / WHEEL_DELTA);
      return 0;
    case WM_GETDLGCODE: {
      // Tab moves between the links while there is one to go to, then on to the buttons;
      // Enter follows the chosen link.
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const MSG *m = reinterpret_cast<const MSG *>(lParam);
      if (m != nullptr && m->message == WM_KEYDOWN) {
        if (m->wParam == VK_TAB && NextLink(GetKeyState(VK_SHIFT) < 0) >= 0) code |= DLGC_WANTTAB;
        if (m->wParam == VK_RETURN && v.focusedLink >= 0) code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (OnViewKey(wParam, line, client.bottom)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(view, nullptr, TRUE);  // the focus box of the chosen link
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(view);
      v.pressedLink = HelpLinkAt(v.layout, PointX(lParam) + v.scrollX,
                                 PointY(lParam) + v.scrollY);
      if (v.pressedLink >= 0) FocusLink(v.pressedLink);
      return 0;
    case WM_LBUTTONUP: {
      const int link = HelpLinkAt(v.layout, PointX(lParam) + v.scrollX,
                                  PointY(lParam) + v.scrollY);
      const int pressed = v.pressedLink;
      v.pressedLink = -1;
      if (link >= 0 && link == pressed) FollowHelpLink(link);
      return 0;
    }
    case WM_XBUTTONUP:
      if (HIWORD(wParam) == XBUTTON1) GoBackInHelpWindow();
      return TRUE;
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

