// The help window: a row of buttons and a search box above the text view, the history of the
// pages visited and the file they come from. The help subclasses no control: the keys of the
// window reach it through HandleHelpWindowMessage and the view's own window procedure, and
// the view tells the window, by WM_NOTIFY, which page the reader asks for. Win32.
#include "help/help_window.h"

#include <cstdio>
#include <cstdlib>

#include "display/night_paint.h"
#include "help/help_history.h"
#include "help/help_probe.h"
#include "help/help_view.h"
#include "location/file_text.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/program_files.h"
#include "support/window_place.h"

namespace {

const char kHelpClass[] = "Orvane2Help";
enum {
  kContentsButton = kHelpContentsButtonId,
  kIndexButton = kHelpIndexButtonId,
  kBackButton = kHelpBackButtonId,
  kSearchBox = kHelpSearchBoxId,
  kView = 105
};
// IDOK is the search button, so that Enter in the search box searches.

// The window, the file it shows and the pages the reader has been to.
struct HelpWindowState {
  HWND window, searchBox, backButton, view;
  HWND buttons[4];
  int dpi;  // the buttons' and the search box's
  HelpDocument document;
  wchar_t loadedPath[kPathSize];
  ULONGLONG loadedSize;
  FILETIME loadedTime;
  bool loaded;
  HelpHistory history;  // while the window is open
  HelpPageText text;    // what the page shown says
  // Where the window was when it closed: it opens there again while the clock runs.
  WINDOWPLACEMENT place;  // where the user last left it (workspace coordinates)
  bool havePlace;
};

HelpWindowState g_helpWindow;

// The loaded file, for the pages: null while none is.
const HelpDocument *LoadedDocument() { return g_helpWindow.loaded ? &g_helpWindow.document : nullptr; }

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
  ClearHelpView(g_helpWindow.view);
  ClearHelpPageText(&g_helpWindow.text);
}

// Reads the file when it is new or has changed since it was read, so that an edited help
// file shows at once and a large one is read only once.
bool LoadDocument(const wchar_t *path) {
  HelpWindowState &w = g_helpWindow;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  const bool found = path != nullptr && GetFileAttributesExW(path, GetFileExInfoStandard, &data);
  const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (found && w.loaded && lstrcmpW(path, w.loadedPath) == 0 && size == w.loadedSize &&
      CompareFileTime(&data.ftLastWriteTime, &w.loadedTime) == 0) {
    return w.document.count > 0;
  }
  ClearPage();
  FreeHelpDocument(&w.document);
  w.loaded = false;
  w.history.count = 0;  // the pages before belong to the file as it was
  std::size_t length = 0;
  char *text = found ? ReadWholeFile(path, &length) : nullptr;
  if (text == nullptr) return false;
  const bool parsed = ParseHelpText(text, length, &w.document);
  std::free(text);
  if (!parsed) return false;
  lstrcpynW(w.loadedPath, path, kPathSize);
  w.loadedSize = size;
  w.loadedTime = data.ftLastWriteTime;
  w.loaded = true;
  return w.document.count > 0;
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
  SetWindowTextA(g_helpWindow.window, caption);
}

void ShowCurrent() {
  HelpWindowState &w = g_helpWindow;
  const HelpVisit &visit = *CurrentHelpVisit(w.history);
  ComposeHelpPage(LoadedDocument(), visit, &w.text);
  SetCaption(w.text.title);
  ShowHelpViewPage(w.view, w.text.title, w.text.body, LoadedDocument(), visit.scrollY);
  // Disabling the focused button would leave the window without a focus: it moves on first.
  if (w.history.count < 2 && GetFocus() == w.backButton) {
    SetFocus(GetNextDlgTabItem(w.window, w.backButton, FALSE));
  }
  EnableWindow(w.backButton, w.history.count > 1);
}

void Navigate(const HelpVisit &visit) {
  VisitHelpPage(&g_helpWindow.history, visit, HelpViewScrollY(g_helpWindow.view));
  ShowCurrent();
}

void Search() {
  char query[kTextSize];
  GetWindowTextA(g_helpWindow.searchBox, query, sizeof query);
  HelpVisit visit;
  if (!HelpSearchVisit(LoadedDocument(), query, &visit)) return;
  Navigate(visit);
  SetFocus(g_helpWindow.view);
}

void GoBack() {
  if (GoBackInHelp(&g_helpWindow.history)) ShowCurrent();
}

// What the reader asked of the view: a link's page or the page before.
void OnViewNotice(const HelpViewNotice &notice) {
  HelpWindowState &w = g_helpWindow;
  if (notice.header.code == kHelpViewGoBack) GoBack();
  if (notice.header.code != kHelpViewFollowLink || !w.loaded || notice.target == nullptr) return;
  if (notice.targetLength < 0) return;
  Navigate(HelpLinkVisit(w.document, notice.target, static_cast<std::size_t>(notice.targetLength)));
}

// ---- The window ----

int Scale(int pixels) { return MulDiv(pixels, g_helpWindow.dpi, 96); }

void LayOutChildren() {
  RECT client;
  GetClientRect(g_helpWindow.window, &client);
  const int pad = Scale(6);
  const int height = Scale(25);
  const int buttonWidth = Scale(84);
  int x = pad;
  for (int i = 0; i < 3; ++i) {
    MoveWindow(g_helpWindow.buttons[i], x, pad, buttonWidth, height, TRUE);
    x += buttonWidth + pad;
  }
  const int searchWidth = buttonWidth;
  int boxWidth = client.right - x - searchWidth - 2 * pad;
  if (boxWidth < Scale(60)) boxWidth = Scale(60);
  MoveWindow(g_helpWindow.searchBox, x, pad, boxWidth, height, TRUE);
  MoveWindow(g_helpWindow.buttons[3], x + boxWidth + pad, pad, searchWidth, height, TRUE);
  const int top = height + 2 * pad;
  MoveWindow(g_helpWindow.view, 0, top, client.right, client.bottom > top ? client.bottom - top : 0, TRUE);
}

// The view makes its fonts for the DPI; its prose font is the buttons' too.
void ApplyDpi(int dpi) {
  g_helpWindow.dpi = dpi;
  SendMessageA(g_helpWindow.view, kHelpViewSetDpi, static_cast<WPARAM>(dpi), 0);
  const WPARAM font = static_cast<WPARAM>(SendMessageA(g_helpWindow.view, WM_GETFONT, 0, 0));
  for (HWND child : g_helpWindow.buttons) SendMessageA(child, WM_SETFONT, font, TRUE);
  SendMessageA(g_helpWindow.searchBox, WM_SETFONT, font, TRUE);
  LayOutChildren();
}

HWND MakeChild(const char *windowClass, const char *text, DWORD style, DWORD exStyle, int id) {
  return CreateWindowExA(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         g_helpWindow.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

bool MakeChildren() {
  HelpWindowState &w = g_helpWindow;
  const int labels[4] = {IDS_HELP_CONTENTS, IDS_HELP_INDEX, IDS_HELP_BACK, IDS_HELP_SEARCH};
  const int ids[4] = {kContentsButton, kIndexButton, kBackButton, IDOK};
  // Made in the order they stand on the screen, which is the order Tab takes: the three
  // buttons, the search box, its button, then the view below them.
  for (int i = 0; i < 4; ++i) {
    if (i == 3) {
      w.searchBox = MakeChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kSearchBox);
    }
    char text[kTextSize];
    LoadText(labels[i], text);
    const DWORD kind = i == 3 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    w.buttons[i] = MakeChild("BUTTON", text, WS_TABSTOP | kind, 0, ids[i]);
    if (w.buttons[i] == nullptr) return false;
  }
  w.backButton = w.buttons[2];
  w.view = MakeChild(kHelpViewClass, "", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, kView);
  if (w.searchBox == nullptr || w.view == nullptr) return false;
  SendMessageA(w.searchBox, EM_LIMITTEXT, kTextSize - 1, 0);
  return true;
}

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT night = 0; NightWindowMessage(window, message, wParam, lParam, &night)) return night;
  switch (message) {
    case WM_CREATE:
      g_helpWindow.window = window;
      if (!MakeChildren()) return -1;
      ApplyDpi(HelpWindowDpi(window));
      return 0;
    case WM_SIZE:
      LayOutChildren();
      return 0;
    case WM_DPICHANGED: {
      // Moved to a screen of another density: the suggested size keeps the window's
      // apparent size; fonts and buttons follow.
      const RECT *r = reinterpret_cast<const RECT *>(lParam);
      g_helpWindow.dpi = HIWORD(wParam);
      SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
    case WM_SETFOCUS:
      SetFocus(g_helpWindow.view);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR *>(lParam)->hwndFrom == g_helpWindow.view) {
        OnViewNotice(*reinterpret_cast<const HelpViewNotice *>(lParam));
      }
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kContentsButton: Navigate(HelpContentsVisit(LoadedDocument())); break;
        case kIndexButton: Navigate(HelpIndexVisit(LoadedDocument())); break;
        case kBackButton: GoBack(); break;
        case IDOK:
          if (GetFocus() != g_helpWindow.view || !FollowFocusedHelpLink(g_helpWindow.view)) Search();
          break;
        case IDCANCEL: DestroyWindow(window); break;
        default: break;
      }
      return 0;
    case WM_DESTROY: {
      WINDOWPLACEMENT placement = {};
      placement.length = sizeof placement;
      if (GetWindowPlacement(window, &placement)) {
        g_helpWindow.place = placement;
        g_helpWindow.havePlace = true;
      }
      return 0;
    }
    case WM_NCDESTROY:
      // The controls are gone by now (the view with its fonts and layout): nothing uses the
      // page's text any more.
      ClearHelpPageText(&g_helpWindow.text);
      CloseHelpHistory(&g_helpWindow.history);
      g_helpWindow.window = g_helpWindow.view = g_helpWindow.searchBox = g_helpWindow.backButton = nullptr;
      for (HWND &b : g_helpWindow.buttons) b = nullptr;
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool EnsureHelpWindow(HWND owner) {
  if (g_helpWindow.window != nullptr) return true;
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
  }
  RegisterHelpViewClass(instance);
  if (!OpenHelpHistory(&g_helpWindow.history)) return false;
  char title[kTextSize];
  LoadText(IDS_HELP_TITLE, title);
  // Owned by the clock, so that it stays above a clock that is always on top; sized for the
  // clock's screen the first time, then where the user last left it.
  g_helpWindow.dpi = HelpWindowDpi(owner);
  HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kHelpClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, Scale(640), Scale(480), owner, nullptr, instance,
                                nullptr);
  // The placement is in the coordinates it was read in, so it comes back where it was
  // whatever the taskbar takes; a place no monitor shows any more is left to the system.
  if (window != nullptr && g_helpWindow.havePlace && PlacementCanBeGrabbed(g_helpWindow.place)) {
    WINDOWPLACEMENT place = g_helpWindow.place;
    place.flags = 0;
    place.showCmd = SW_HIDE;  // shown by the caller
    SetWindowPlacement(window, &place);
  }
  if (window == nullptr) {  // WM_NCDESTROY has freed what was made for it, if it got that far
    CloseHelpHistory(&g_helpWindow.history);
    g_helpWindow.window = nullptr;
  }
  return window != nullptr;
}

}  // namespace

BOOL ShowHelp(HWND owner, const wchar_t *path, UINT command, ULONG_PTR data) {
  if (command == HELP_QUIT) {
    if (g_helpWindow.window != nullptr) DestroyWindow(g_helpWindow.window);
    // Its place is remembered while the clock runs, and the clock is going.
    g_helpWindow.havePlace = false;
    FreeHelpDocument(&g_helpWindow.document);  // the file is no longer needed
    g_helpWindow.loaded = false;
    return TRUE;
  }
  if (command != HELP_FINDER && command != HELP_KEY && command != HELP_HELPONHELP) return FALSE;
  if (!EnsureHelpWindow(owner)) return FALSE;

  const bool usable = LoadDocument(path);
  const int request = command == HELP_FINDER ? kHelpIndexRequest
                      : command == HELP_KEY  ? kHelpKeywordRequest
                                             : kHelpOnHelpRequest;
  const char *keyword = data != 0 ? reinterpret_cast<const char *>(data) : "";
  Navigate(HelpRequestVisit(usable ? LoadedDocument() : nullptr, request, keyword));
  HWND window = g_helpWindow.window;
  if (!IsWindowVisible(window) || IsIconic(window)) ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(g_helpWindow.view);
  return TRUE;
}

bool HandleHelpWindowMessage(MSG *message) {
  if (g_helpWindow.window == nullptr || message->hwnd == nullptr) return false;
  if (message->hwnd != g_helpWindow.window && !IsChild(g_helpWindow.window, message->hwnd)) return false;
  // Back, as in a browser: Alt+Left anywhere, Backspace outside the search box.
  if ((message->message == WM_SYSKEYDOWN && message->wParam == VK_LEFT) ||
      (message->message == WM_KEYDOWN && message->wParam == VK_BACK &&
       message->hwnd != g_helpWindow.searchBox)) {
    GoBack();
    return true;
  }
  if (IsDialogMessageA(g_helpWindow.window, message)) return true;
  TranslateMessage(message);
  DispatchMessageA(message);
  return true;
}

HWND HelpWindowHandle() { return g_helpWindow.window; }

const char *ShownHelpTopic() {
  if (g_helpWindow.window == nullptr) return "";
  return HelpVisitTopicId(LoadedDocument(), CurrentHelpVisit(g_helpWindow.history));
}

HWND HelpTextView() { return g_helpWindow.view; }
const HelpLayout *ShownHelpLayout() { return HelpViewLayout(g_helpWindow.view); }
const HelpLayoutMetrics *ShownHelpMetrics() { return HelpViewMetrics(g_helpWindow.view); }
int FocusedHelpLink() { return HelpViewFocusedLink(g_helpWindow.view); }
