// The help window: a row of buttons and a search box above a text view that the program
// draws itself from the portable layout. The help subclasses no control: the keys of the window
// reach it through HandleHelpWindowMessage and the view's own window procedure. Win32.
#include "help/help_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "location/file_text.h"
#include "display/night_paint.h"
#include "resources/resource_ids.h"
#include "shell/window_place.h"
#include "support/hooks.h"
#include "support/program_files.h"

namespace {

const char kHelpClass[] = "Orvane2Help";
const char kViewClass[] = "Orvane2HelpView";
enum {
  kContentsButton = kHelpContentsButtonId,
  kIndexButton = kHelpIndexButtonId,
  kBackButton = kHelpBackButtonId,
  kSearchBox = kHelpSearchBoxId,
  kView = 105
};
// IDOK is the search button, so that Enter in the search box searches.

enum PageKind { kTopicPage, kIndexPage, kSearchPage, kMessagePage };
struct Visit {
  int kind;
  int topic;    // kTopicPage
  int message;  // kMessagePage: a string id
  int scrollY;
  char query[kTextSize];  // kSearchPage
};
constexpr int kHistorySize = 64;

struct HelpState {
  HWND window, view, searchBox, backButton;
  HWND buttons[4];
  int dpi;
  HFONT uiFont;
  HFONT fonts[kHelpStyleCount];
  HFONT linkFonts[kHelpStyleCount];
  HelpLayoutMetrics *metrics;  // while the window is open (from the heap: kept out of the
                               // file's data, like the history)
  HelpDocument document;
  wchar_t loadedPath[kPathSize];
  ULONGLONG loadedSize;
  FILETIME loadedTime;
  bool loaded;
  Visit *history;    // kHistorySize pages, while the window is open
  int historyCount;  // the current page is history[historyCount - 1]
  HelpPage page;     // the index or search page shown
  char pageTitle[2 * kTextSize];
  char messageBody[kTextSize + 3];
  const char *title;
  const char *body;
  HelpLayout layout;
  int layoutWidth;
  int scrollX, scrollY;
  int focusedLink;
  int pressedLink;
  // Where the window was when it closed: it opens there again while the clock runs.
  WINDOWPLACEMENT place;  // where the user last left it (workspace coordinates)
  bool havePlace;
};

HelpState g;

// Mouse positions are signed 16-bit values.
int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

int Scale(int pixels) { return MulDiv(pixels, g.dpi, 96); }

int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
  const GetDpiForWindowFn getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpi != nullptr && window != nullptr) {
    const UINT dpi = getDpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The system's message font at the window's DPI.
LOGFONTW MessageFont(int dpi) {
  using SpiForDpiFn = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT);
  const SpiForDpiFn spiForDpi = reinterpret_cast<SpiForDpiFn>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi")));
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

void DeleteFonts() {
  for (int i = 0; i < kHelpStyleCount; ++i) {
    if (g.fonts[i] != nullptr) DeleteObject(g.fonts[i]);
    if (g.linkFonts[i] != nullptr) DeleteObject(g.linkFonts[i]);
    g.fonts[i] = g.linkFonts[i] = nullptr;
  }
  g.uiFont = nullptr;  // it is fonts[prose]
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

// Fonts for the window's DPI: prose in the message font, the heading bolder and larger,
// columns in a fixed-pitch font of the same height, links underlined.
void MakeFonts() {
  DeleteFonts();
  LOGFONTW prose = MessageFont(g.dpi);
  LOGFONTW heading = prose;
  heading.lfWeight = FW_BOLD;
  heading.lfHeight = prose.lfHeight * 4 / 3;
  LOGFONTW fixed = prose;
  fixed.lfWeight = FW_NORMAL;
  fixed.lfItalic = FALSE;
  fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::memcpy(fixed.lfFaceName, L"Courier New", sizeof L"Courier New");
  const LOGFONTW *faces[kHelpStyleCount] = {&prose, &heading, &fixed};
  HDC dc = GetDC(g.window);
  for (int i = 0; i < kHelpStyleCount; ++i) {
    LOGFONTW f = *faces[i];
    g.fonts[i] = CreateFontIndirectW(&f);
    f.lfUnderline = TRUE;
    g.linkFonts[i] = CreateFontIndirectW(&f);
    Measure(dc, g.fonts[i] != nullptr ? g.fonts[i] : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
            &g.metrics->fonts[i]);
  }
  ReleaseDC(g.window, dc);
  g.uiFont = g.fonts[kHelpProseStyle];
  g.metrics->margin = Scale(10);
  g.metrics->indent = Scale(18);
}

// ---- The file ----

// The whole file in one block the caller frees; null when it cannot be read.
char *ReadWholeFile(const wchar_t *path, std::size_t *length) {
  std::FILE *file = _wfopen(path, L"rb");
  if (file == nullptr) return nullptr;
  FileText text = {nullptr, 0};
  const bool whole = ReadAllBytes(file, &text);
  std::fclose(file);
  if (!whole) {
    std::free(text.bytes);
    return nullptr;
  }
  *length = text.size;
  return text.bytes;
}

void ClearPage() {
  FreeHelpLayout(&g.layout);
  FreeHelpPage(&g.page);
  g.layoutWidth = -1;
  g.title = "";
  g.body = "";
  g.focusedLink = -1;
  g.pressedLink = -1;
}

// Reads the file when it is new or has changed since it was read, so that an edited help
// file shows at once and a large one is read only once.
bool LoadDocument(const wchar_t *path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  const bool found = path != nullptr && GetFileAttributesExW(path, GetFileExInfoStandard, &data);
  const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (found && g.loaded && lstrcmpW(path, g.loadedPath) == 0 && size == g.loadedSize &&
      CompareFileTime(&data.ftLastWriteTime, &g.loadedTime) == 0) {
    return g.document.count > 0;
  }
  ClearPage();
  FreeHelpDocument(&g.document);
  g.loaded = false;
  g.historyCount = 0;  // the pages before belong to the file as it was
  std::size_t length = 0;
  char *text = found ? ReadWholeFile(path, &length) : nullptr;
  if (text == nullptr) return false;
  const bool parsed = ParseHelpText(text, length, &g.document);
  std::free(text);
  if (!parsed) return false;
  lstrcpynW(g.loadedPath, path, kPathSize);
  g.loadedSize = size;
  g.loadedTime = data.ftLastWriteTime;
  g.loaded = true;
  return g.document.count > 0;
}

// ---- The page shown ----

void SetCaption(const char *pageTitle) {
  char product[kTextSize];
  LoadText(IDS_HELP_TITLE, product);
  char caption[3 * kTextSize];
  if (pageTitle != nullptr && pageTitle[0] != '\0') {
    std::snprintf(caption, sizeof caption, "%s - %.80s", product, pageTitle);
  } else {
    std::snprintf(caption, sizeof caption, "%s", product);
  }
  SetWindowTextA(g.window, caption);
}

// A button's text without its "&": the title of the page it opens.
void LoadPlainText(int id, char *out) {
  char text[kTextSize];
  LoadText(id, text);
  int j = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    if (text[i] != '&') out[j++] = text[i];
  }
  out[j] = '\0';
}

void UpdateScrollBars() {
  RECT client;
  GetClientRect(g.view, &client);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  const int maxY = g.layout.height - client.bottom;
  if (g.scrollY > maxY) g.scrollY = maxY;
  if (g.scrollY < 0) g.scrollY = 0;
  info.nMax = g.layout.height > 0 ? g.layout.height - 1 : 0;
  info.nPage = static_cast<UINT>(client.bottom > 0 ? client.bottom : 0);
  info.nPos = g.scrollY;
  SetScrollInfo(g.view, SB_VERT, &info, TRUE);
  const int maxX = g.layout.width - client.right;
  if (g.scrollX > maxX) g.scrollX = maxX;
  if (g.scrollX < 0) g.scrollX = 0;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = g.layout.width > client.right ? g.layout.width - 1 : 0;
  info.nPage = static_cast<UINT>(client.right > 0 ? client.right : 0);
  info.nPos = g.scrollX;
  SetScrollInfo(g.view, SB_HORZ, &info, TRUE);
}

// Lays the page out again when the view's width has changed.
void Relayout(bool force) {
  if (g.view == nullptr || g.metrics == nullptr) return;
  RECT client;
  GetClientRect(g.view, &client);
  if (!force && client.right == g.layoutWidth) return;
  FreeHelpLayout(&g.layout);
  g.layoutWidth = client.right;
  g.focusedLink = -1;
  LayOutHelpPage(g.title, g.body, g.loaded ? &g.document : nullptr, *g.metrics, client.right, &g.layout);
  UpdateScrollBars();
  InvalidateRect(g.view, nullptr, TRUE);
}

void ShowCurrent() {
  FreeHelpPage(&g.page);
  const Visit &v = g.history[g.historyCount - 1];
  g.title = "";
  g.body = "";
  if (v.kind == kTopicPage && g.loaded && v.topic < g.document.count) {
    g.title = g.document.topics[v.topic].title;
    g.body = g.document.topics[v.topic].body;
  } else if (v.kind == kIndexPage && g.loaded) {
    LoadPlainText(IDS_HELP_INDEX, g.pageTitle);
    g.title = g.pageTitle;
    if (BuildHelpIndexPage(g.document, &g.page)) g.body = g.page.body;
  } else if (v.kind == kSearchPage && g.loaded) {
    char heading[kTextSize];
    char none[kTextSize];
    LoadText(IDS_HELP_SEARCH_TITLE, heading);
    LoadText(IDS_HELP_NOT_FOUND, none);
    std::snprintf(g.pageTitle, sizeof g.pageTitle, "%s: %s", heading, v.query);
    g.title = g.pageTitle;
    int found = 0;
    if (BuildHelpSearchPage(g.document, v.query, none, &g.page, &found)) g.body = g.page.body;
  } else {
    char text[kTextSize];
    LoadText(v.kind == kMessagePage ? v.message : IDS_HELP_UNREADABLE, text);
    std::snprintf(g.messageBody, sizeof g.messageBody, "P%s\n", text);
    g.body = g.messageBody;
  }
  SetCaption(g.title);
  g.scrollX = 0;
  g.scrollY = v.scrollY;
  Relayout(true);
  // Disabling the focused button would leave the window without a focus: it moves on first.
  if (g.historyCount < 2 && GetFocus() == g.backButton) SetFocus(GetNextDlgTabItem(g.window, g.backButton, FALSE));
  EnableWindow(g.backButton, g.historyCount > 1);
}

void Navigate(const Visit &visit) {
  if (g.historyCount > 0) g.history[g.historyCount - 1].scrollY = g.scrollY;
  if (g.historyCount == kHistorySize) {  // the oldest page is forgotten
    std::memmove(g.history, g.history + 1, (kHistorySize - 1) * sizeof(Visit));
    --g.historyCount;
  }
  g.history[g.historyCount++] = visit;
  ShowCurrent();
}

void NavigateToTopic(int topic) {
  Visit v = {};
  v.kind = kTopicPage;
  v.topic = topic;
  Navigate(v);
}

void NavigateToMessage(int id) {
  Visit v = {};
  v.kind = kMessagePage;
  v.message = id;
  Navigate(v);
}

void GoBack() {
  if (g.historyCount < 2) return;
  --g.historyCount;
  ShowCurrent();
}

void ShowContents() {
  if (!g.loaded || g.document.count == 0) {
    NavigateToMessage(IDS_HELP_UNREADABLE);
    return;
  }
  const int contents = FindHelpTopicById(g.document, "contents");
  NavigateToTopic(contents >= 0 ? contents : 0);
}

void ShowIndex() {
  if (!g.loaded || g.document.count == 0) {
    NavigateToMessage(IDS_HELP_UNREADABLE);
    return;
  }
  Visit v = {};
  v.kind = kIndexPage;
  Navigate(v);
}

void Search() {
  Visit v = {};
  v.kind = kSearchPage;
  GetWindowTextA(g.searchBox, v.query, sizeof v.query);
  bool anyWord = false;
  for (const char *p = v.query; *p != '\0'; ++p) anyWord = anyWord || *p != ' ';
  if (!anyWord || !g.loaded) return;
  Navigate(v);
  SetFocus(g.view);
}

void FollowLink(int link) {
  if (link < 0 || link >= g.layout.linkCount || !g.loaded) return;
  const HelpLink &l = g.layout.links[link];
  const int topic = ResolveHelpLink(g.document, l.target, static_cast<std::size_t>(l.targetLength));
  if (topic >= 0) {
    NavigateToTopic(topic);
  } else {
    NavigateToMessage(IDS_HELP_NO_TOPIC);
  }
}

// ---- The text view ----

void ScrollTo(int x, int y) {
  g.scrollX = x;
  g.scrollY = y;
  UpdateScrollBars();
  InvalidateRect(g.view, nullptr, TRUE);
}

void ScrollLinkIntoView(int link) {
  const HelpLink &l = g.layout.links[link];
  if (l.runCount == 0) return;
  const HelpRun &first = g.layout.runs[l.firstRun];
  RECT client;
  GetClientRect(g.view, &client);
  const int height = g.metrics->fonts[first.style].lineHeight;
  int y = g.scrollY;
  if (first.y < y) y = first.y - g.metrics->margin;
  if (first.y + height > y + client.bottom) y = first.y + height - client.bottom + g.metrics->margin;
  int x = g.scrollX;
  if (first.x < x) x = first.x - g.metrics->margin;
  if (first.x + first.width > x + client.right) x = first.x + first.width - client.right;
  ScrollTo(x, y);
}

// The link after (or before) the focused one that has something to click; -1 when none.
int NextLink(bool backwards) {
  const int n = g.layout.linkCount;
  int i = g.focusedLink;
  for (;;) {
    i = backwards ? (i < 0 ? n - 1 : i - 1) : i + 1;
    if (i < 0 || i >= n) return -1;
    if (g.layout.links[i].runCount > 0) return i;
  }
}

void FocusLink(int link) {
  g.focusedLink = link;
  if (link >= 0) ScrollLinkIntoView(link);
  InvalidateRect(g.view, nullptr, TRUE);
}

// Draws a run with the advances the layout measured, so that text, links and the places
// the mouse finds them always agree (the font may place glyphs a fraction apart).
void DrawRun(HDC dc, const HelpRun &run, int x, int y) {
  const int *widths = g.metrics->fonts[run.style].widths;
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
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(view, &paint);
  if (dc == nullptr) return;
  FillRect(dc, &paint.rcPaint, ShownBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, g.fonts[kHelpProseStyle]);
  const COLORREF text = ShownColour(COLOR_WINDOWTEXT);
  // The system's link colour, so that a high-contrast scheme shows links as it means to.
  const COLORREF link = ShownColour(COLOR_HOTLIGHT);
  const bool focused = GetFocus() == view;
  for (int i = HelpLineAt(g.layout, g.scrollY + paint.rcPaint.top); i < g.layout.lineCount; ++i) {
    const HelpLine &line = g.layout.lines[i];
    if (line.y - g.scrollY >= paint.rcPaint.bottom) break;
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      const HelpRun &run = g.layout.runs[r];
      SelectObject(dc, run.link >= 0 ? g.linkFonts[run.style] : g.fonts[run.style]);
      SetTextColor(dc, run.link >= 0 ? link : text);
      const int y = run.y - g.scrollY + line.height - g.metrics->fonts[run.style].lineHeight;
      DrawRun(dc, run, run.x - g.scrollX, y);
      if (focused && run.link >= 0 && run.link == g.focusedLink) {
        RECT box = {run.x - g.scrollX - 1, y, run.x - g.scrollX + run.width + 1,
                    y + g.metrics->fonts[run.style].lineHeight};
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
      GetScrollInfo(g.view, bar, &info);
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
    case VK_RETURN: FollowLink(g.focusedLink); return true;
    case VK_UP: ScrollTo(g.scrollX, g.scrollY - line); return true;
    case VK_DOWN: ScrollTo(g.scrollX, g.scrollY + line); return true;
    case VK_PRIOR: ScrollTo(g.scrollX, g.scrollY - (viewHeight - line)); return true;
    case VK_NEXT: ScrollTo(g.scrollX, g.scrollY + (viewHeight - line)); return true;
    case VK_HOME: ScrollTo(0, 0); return true;
    case VK_END: ScrollTo(g.scrollX, g.layout.height); return true;
    case VK_LEFT: ScrollTo(g.scrollX - line, g.scrollY); return true;
    case VK_RIGHT: ScrollTo(g.scrollX + line, g.scrollY); return true;
    default: return false;
  }
}

LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  RECT client;
  GetClientRect(view, &client);
  const int line = g.metrics != nullptr ? g.metrics->fonts[kHelpProseStyle].lineHeight : 16;
  switch (message) {
    case WM_PAINT:
      PaintView(view);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills what it draws
    case WM_SIZE:
      Relayout(false);
      UpdateScrollBars();
      return 0;
    case WM_VSCROLL:
      ScrollTo(g.scrollX, ScrollPosition(SB_VERT, wParam, g.scrollY, line, client.bottom - line,
                                         g.layout.height));
      return 0;
    case WM_HSCROLL:
      ScrollTo(ScrollPosition(SB_HORZ, wParam, g.scrollX, line, client.right - line, g.layout.width),
               g.scrollY);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(g.scrollX, g.scrollY - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * line / WHEEL_DELTA);
      return 0;
    case WM_GETDLGCODE: {
      // Tab moves between the links while there is one to go to, then on to the buttons;
      // Enter follows the chosen link.
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const MSG *m = reinterpret_cast<const MSG *>(lParam);
      if (m != nullptr && m->message == WM_KEYDOWN) {
        if (m->wParam == VK_TAB && NextLink(GetKeyState(VK_SHIFT) < 0) >= 0) code |= DLGC_WANTTAB;
        if (m->wParam == VK_RETURN && g.focusedLink >= 0) code |= DLGC_WANTMESSAGE;
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
      g.pressedLink = HelpLinkAt(g.layout, PointX(lParam) + g.scrollX,
                                 PointY(lParam) + g.scrollY);
      if (g.pressedLink >= 0) FocusLink(g.pressedLink);
      return 0;
    case WM_LBUTTONUP: {
      const int link = HelpLinkAt(g.layout, PointX(lParam) + g.scrollX,
                                  PointY(lParam) + g.scrollY);
      const int pressed = g.pressedLink;
      g.pressedLink = -1;
      if (link >= 0 && link == pressed) FollowLink(link);
      return 0;
    }
    case WM_XBUTTONUP:
      if (HIWORD(wParam) == XBUTTON1) GoBack();
      return TRUE;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(view, &p);
        const bool overLink = HelpLinkAt(g.layout, p.x + g.scrollX, p.y + g.scrollY) >= 0;
        SetCursor(LoadCursorA(nullptr, overLink ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

// ---- The window ----

void LayOutChildren() {
  RECT client;
  GetClientRect(g.window, &client);
  const int pad = Scale(6);
  const int height = Scale(25);
  const int buttonWidth = Scale(84);
  int x = pad;
  for (int i = 0; i < 3; ++i) {
    MoveWindow(g.buttons[i], x, pad, buttonWidth, height, TRUE);
    x += buttonWidth + pad;
  }
  const int searchWidth = buttonWidth;
  int boxWidth = client.right - x - searchWidth - 2 * pad;
  if (boxWidth < Scale(60)) boxWidth = Scale(60);
  MoveWindow(g.searchBox, x, pad, boxWidth, height, TRUE);
  MoveWindow(g.buttons[3], x + boxWidth + pad, pad, searchWidth, height, TRUE);
  const int top = height + 2 * pad;
  MoveWindow(g.view, 0, top, client.right, client.bottom > top ? client.bottom - top : 0, TRUE);
}

void ApplyDpi(int dpi) {
  g.dpi = dpi;
  MakeFonts();
  for (HWND child : g.buttons) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(g.uiFont), TRUE);
  SendMessageA(g.searchBox, WM_SETFONT, reinterpret_cast<WPARAM>(g.uiFont), TRUE);
  LayOutChildren();
  Relayout(true);
}

HWND MakeChild(const char *windowClass, const char *text, DWORD style, DWORD exStyle, int id) {
  return CreateWindowExA(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         g.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

bool MakeChildren() {
  const int labels[4] = {IDS_HELP_CONTENTS, IDS_HELP_INDEX, IDS_HELP_BACK, IDS_HELP_SEARCH};
  const int ids[4] = {kContentsButton, kIndexButton, kBackButton, IDOK};
  // Made in the order they stand on the screen, which is the order Tab takes: the three
  // buttons, the search box, its button, then the view below them.
  for (int i = 0; i < 4; ++i) {
    if (i == 3) g.searchBox = MakeChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kSearchBox);
    char text[kTextSize];
    LoadText(labels[i], text);
    g.buttons[i] = MakeChild("BUTTON", text, WS_TABSTOP | (i == 3 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, ids[i]);
    if (g.buttons[i] == nullptr) return false;
  }
  g.backButton = g.buttons[2];
  g.view = MakeChild(kViewClass, "", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, kView);
  if (g.searchBox == nullptr || g.view == nullptr) return false;
  SendMessageA(g.searchBox, EM_LIMITTEXT, kTextSize - 1, 0);
  return true;
}

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT night = 0; NightWindowMessage(window, message, wParam, lParam, &night)) return night;
  switch (message) {
    case WM_CREATE:
      g.window = window;
      if (!MakeChildren()) return -1;
      ApplyDpi(WindowDpi(window));
      return 0;
    case WM_SIZE:
      LayOutChildren();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a screen of another density: the suggested size keeps the window's
      // apparent size; fonts and buttons follow.
      const RECT *r = reinterpret_cast<const RECT *>(lParam);
      g.dpi = HIWORD(wParam);
      SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
    case WM_SETFOCUS:
      SetFocus(g.view);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kContentsButton: ShowContents(); break;
        case kIndexButton: ShowIndex(); break;
        case kBackButton: GoBack(); break;
        case IDOK:
          if (GetFocus() == g.view && g.focusedLink >= 0) {
            FollowLink(g.focusedLink);
          } else {
            Search();
          }
          break;
        case IDCANCEL: DestroyWindow(window); break;
        default: break;
      }
      return 0;
    case WM_DESTROY: {
      WINDOWPLACEMENT placement = {};
      placement.length = sizeof placement;
      if (GetWindowPlacement(window, &placement)) {
        g.place = placement;
        g.havePlace = true;
      }
      return 0;
    }
    case WM_NCDESTROY:
      // The controls are gone by now: nothing of theirs uses the fonts or the page any more.
      ClearPage();
      DeleteFonts();
      std::free(g.history);
      std::free(g.metrics);
      g.history = nullptr;
      g.metrics = nullptr;
      g.historyCount = 0;
      g.window = g.view = g.searchBox = g.backButton = nullptr;
      for (HWND &b : g.buttons) b = nullptr;
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool EnsureHelpWindow(HWND owner) {
  if (g.window != nullptr) return true;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  if (!GetClassInfoA(instance, kHelpClass, &windowClass)) {
    windowClass.lpfnWndProc = HelpWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "ICONX");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kHelpClass;
    RegisterClassA(&windowClass);
    WNDCLASSA viewClass = {};
    viewClass.lpfnWndProc = ViewProc;
    viewClass.hInstance = instance;
    viewClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    viewClass.lpszClassName = kViewClass;
    RegisterClassA(&viewClass);
  }
  g.history = static_cast<Visit *>(std::calloc(kHistorySize, sizeof(Visit)));
  g.metrics = static_cast<HelpLayoutMetrics *>(std::calloc(1, sizeof(HelpLayoutMetrics)));
  if (g.history == nullptr || g.metrics == nullptr) {
    std::free(g.history);
    std::free(g.metrics);
    g.history = nullptr;
    g.metrics = nullptr;
    return false;
  }
  char title[kTextSize];
  LoadText(IDS_HELP_TITLE, title);
  // Owned by the clock, so that it stays above a clock that is always on top; sized for the
  // clock's screen the first time, then where the user last left it.
  g.dpi = WindowDpi(owner);
  HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kHelpClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, Scale(640), Scale(480), owner, nullptr, instance, nullptr);
  // The placement is in the coordinates it was read in, so it comes back where it was
  // whatever the taskbar takes; a place no monitor shows any more is left to the system.
  if (window != nullptr && g.havePlace && PlacementCanBeGrabbed(g.place)) {
    WINDOWPLACEMENT place = g.place;
    place.flags = 0;
    place.showCmd = SW_HIDE;  // shown by the caller
    SetWindowPlacement(window, &place);
  }
  if (window == nullptr) {  // WM_NCDESTROY has freed what was made for it, if it got that far
    std::free(g.history);
    std::free(g.metrics);
    g.history = nullptr;
    g.metrics = nullptr;
    g.window = nullptr;
  }
  return window != nullptr;
}

}  // namespace

BOOL ShowHelp(HWND owner, const wchar_t *path, UINT command, ULONG_PTR data) {
  if (command == HELP_QUIT) {
    if (g.window != nullptr) DestroyWindow(g.window);
    g.havePlace = false;  // its place is remembered while the clock runs, and the clock is going
    FreeHelpDocument(&g.document);  // the file is no longer needed
    g.loaded = false;
    return TRUE;
  }
  if (command != HELP_FINDER && command != HELP_KEY && command != HELP_HELPONHELP) return FALSE;
  if (!EnsureHelpWindow(owner)) return FALSE;

  if (!LoadDocument(path)) {
    NavigateToMessage(IDS_HELP_UNREADABLE);
  } else if (command == HELP_FINDER) {
    ShowIndex();
  } else {
    const char *keyword = data != 0 ? reinterpret_cast<const char *>(data) : "";
    const int topic = command == HELP_KEY ? FindHelpTopicByKeyword(g.document, keyword)
                                          : FindHelpTopicById(g.document, "helponhelp");
    if (topic >= 0) {
      NavigateToTopic(topic);
    } else {
      NavigateToMessage(IDS_HELP_NO_TOPIC);
    }
  }
  if (!IsWindowVisible(g.window) || IsIconic(g.window)) ShowWindow(g.window, SW_SHOWNORMAL);
  SetForegroundWindow(g.window);
  SetFocus(g.view);
  return TRUE;
}

bool HandleHelpWindowMessage(MSG *message) {
  if (g.window == nullptr || message->hwnd == nullptr) return false;
  if (message->hwnd != g.window && !IsChild(g.window, message->hwnd)) return false;
  // Back, as in a browser: Alt+Left anywhere, Backspace outside the search box.
  if ((message->message == WM_SYSKEYDOWN && message->wParam == VK_LEFT) ||
      (message->message == WM_KEYDOWN && message->wParam == VK_BACK && message->hwnd != g.searchBox)) {
    GoBack();
    return true;
  }
  if (IsDialogMessageA(g.window, message)) return true;
  TranslateMessage(message);
  DispatchMessageA(message);
  return true;
}

HWND HelpWindowHandle() { return g.window; }

const char *ShownHelpTopic() {
  if (g.window == nullptr || g.historyCount == 0) return "";
  const Visit &v = g.history[g.historyCount - 1];
  if (v.kind == kIndexPage) return "(index)";
  if (v.kind == kSearchPage) return "(search)";
  if (v.kind == kTopicPage && g.loaded && v.topic < g.document.count) return g.document.topics[v.topic].id;
  return "";
}

HWND HelpTextView() { return g.view; }
const HelpLayout *ShownHelpLayout() { return &g.layout; }
const HelpLayoutMetrics *ShownHelpMetrics() { return g.metrics; }
int FocusedHelpLink() { return g.focusedLink; }
