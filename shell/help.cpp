// The help engine and its window. Win32.
#include "shell/help.h"

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"
#include "shell/help_text.h"
#include "support/hooks.h"

namespace {

const char kHelpClass[] = "Orvane2Help";
constexpr int kTopicListId = 1;
constexpr int kTopicTextId = 2;

HWND g_helpWindow = nullptr;
HWND g_topicList = nullptr;
HWND g_topicText = nullptr;
HFONT g_textFont = nullptr;
WNDPROC g_listProc = nullptr;
WNDPROC g_textProc = nullptr;
HelpDocument g_document = {nullptr, 0, nullptr};
int g_shownTopic = -1;

// The whole file in one block the caller frees; null when it cannot be read.
char *ReadWholeFile(const char *path, std::size_t *length) {
  std::FILE *file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  char *text = nullptr;
  std::size_t used = 0;
  std::size_t capacity = 0;
  bool ok = true;
  for (;;) {
    if (used == capacity) {
      capacity = capacity == 0 ? 16384 : capacity * 2;
      char *grown = static_cast<char *>(std::realloc(text, capacity));
      if (grown == nullptr) {
        ok = false;
        break;
      }
      text = grown;
    }
    const std::size_t got = std::fread(text + used, 1, capacity - used, file);
    used += got;
    if (got == 0) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (!ok) {
    std::free(text);
    return nullptr;
  }
  *length = used;
  return text;
}

void SetTitle(const char *topicTitle) {
  char product[kTextSize];
  LoadText(IDS_HELP_TITLE, product);
  char caption[2 * kTextSize];
  if (topicTitle != nullptr && topicTitle[0] != '\0') {
    std::snprintf(caption, sizeof caption, "%s - %.80s", product, topicTitle);
  } else {
    std::snprintf(caption, sizeof caption, "%s", product);
  }
  SetWindowTextA(g_helpWindow, caption);
}

void ShowTopic(int index) {
  if (index < 0 || index >= g_document.count) return;
  g_shownTopic = index;
  const HelpTopic &topic = g_document.topics[index];
  SetWindowTextA(g_topicText, topic.body);
  SendMessageA(g_topicList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SetTitle(topic.title);
}

void ShowMessage(int stringId) {
  char text[kTextSize];
  LoadText(stringId, text);
  g_shownTopic = -1;
  SetWindowTextA(g_topicText, text);
  SendMessageA(g_topicList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetTitle(nullptr);
}

// Reads the file afresh for every request, so that an edited help file shows at once.
bool LoadDocument(const char *path) {
  FreeHelpDocument(&g_document);
  g_shownTopic = -1;
  SendMessageA(g_topicList, LB_RESETCONTENT, 0, 0);
  std::size_t length = 0;
  char *text = path != nullptr ? ReadWholeFile(path, &length) : nullptr;
  if (text == nullptr) return false;
  const bool parsed = ParseHelpText(text, length, &g_document);
  std::free(text);
  if (!parsed) return false;
  for (int i = 0; i < g_document.count; ++i) {
    SendMessageA(g_topicList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_document.topics[i].title));
  }
  return g_document.count > 0;
}

void LayOut(int width, int height) {
  const int listWidth = width / 3 < 150 ? (width < 300 ? width / 2 : 150) : width / 3;
  MoveWindow(g_topicList, 0, 0, listWidth, height, TRUE);
  MoveWindow(g_topicText, listWidth, 0, width - listWidth, height, TRUE);
}

// Esc in either pane closes the help, as it would a dialog.
LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = pane == g_topicList ? g_listProc : g_textProc;
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    DestroyWindow(g_helpWindow);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_TAB) {
    SetFocus(pane == g_topicList ? g_topicText : g_topicList);
    return 0;
  }
  return CallWindowProcA(original, pane, message, wParam, lParam);
}

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const HINSTANCE instance = reinterpret_cast<const CREATESTRUCTA *>(lParam)->hInstance;
      g_topicList = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                                        LBS_NOINTEGRALHEIGHT,
                                    0, 0, 0, 0, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTopicListId)),
                                    instance, nullptr);
      g_topicText = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                        ES_READONLY | ES_AUTOVSCROLL,
                                    0, 0, 0, 0, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTopicTextId)),
                                    instance, nullptr);
      if (g_topicList == nullptr || g_topicText == nullptr) return -1;
      HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
      SendMessageA(g_topicList, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      // The topics hold small tables and lines of the city file: a fixed-pitch font keeps
      // their columns, at 9 points on any screen.
      HDC screen = GetDC(nullptr);
      const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
      g_textFont = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               FIXED_PITCH | FF_MODERN, "Courier New");
      SendMessageA(g_topicText, WM_SETFONT,
                   reinterpret_cast<WPARAM>(g_textFont != nullptr ? g_textFont : font), FALSE);
      g_listProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(g_topicList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneProc)));
      g_textProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(g_topicText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneProc)));
      return 0;
    }
    case WM_SIZE:
      LayOut(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_topicList);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kTopicListId && HIWORD(wParam) == LBN_SELCHANGE) {
        ShowTopic(static_cast<int>(SendMessageA(g_topicList, LB_GETCURSEL, 0, 0)));
      }
      return 0;
    case WM_DESTROY:
      // The panes are destroyed after this, each through its own procedure: once the
      // handles below are cleared, PaneProc could no longer tell them apart.
      SetWindowLongPtrA(g_topicList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
      SetWindowLongPtrA(g_topicText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_textProc));
      g_helpWindow = nullptr;
      g_topicList = nullptr;
      g_topicText = nullptr;
      FreeHelpDocument(&g_document);
      g_shownTopic = -1;
      if (g_textFont != nullptr) DeleteObject(g_textFont);
      g_textFont = nullptr;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool EnsureHelpWindow() {
  if (g_helpWindow != nullptr) return true;
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
  char title[kTextSize];
  LoadText(IDS_HELP_TITLE, title);
  // A window of its own, not owned by the clock: it has its own taskbar button and stays
  // open when the clock is minimised.
  g_helpWindow = CreateWindowExA(0, kHelpClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 700, 480, nullptr, nullptr, instance, nullptr);
  return g_helpWindow != nullptr;
}

}  // namespace

BOOL ShowHelp(HWND, const char *path, UINT command, ULONG_PTR data) {
  if (command == HELP_QUIT) {
    if (g_helpWindow != nullptr) DestroyWindow(g_helpWindow);
    return TRUE;
  }
  if (command != HELP_FINDER && command != HELP_KEY && command != HELP_HELPONHELP) return FALSE;
  if (!EnsureHelpWindow()) return FALSE;

  if (!LoadDocument(path)) {
    ShowMessage(IDS_HELP_UNREADABLE);
  } else if (command == HELP_FINDER) {
    const int contents = FindHelpTopicById(g_document, "contents");
    ShowTopic(contents >= 0 ? contents : 0);
  } else {
    const char *keyword = data != 0 ? reinterpret_cast<const char *>(data) : "";
    const int topic = command == HELP_KEY ? FindHelpTopicByKeyword(g_document, keyword)
                                          : FindHelpTopicById(g_document, "helponhelp");
    if (topic >= 0) {
      ShowTopic(topic);
    } else {
      ShowMessage(IDS_HELP_NO_TOPIC);
    }
  }
  ShowWindow(g_helpWindow, SW_SHOWNORMAL);
  SetForegroundWindow(g_helpWindow);
  return TRUE;
}

HWND HelpWindowHandle() { return g_helpWindow; }

const char *ShownHelpTopic() {
  if (g_shownTopic < 0 || g_shownTopic >= g_document.count) return "";
  return g_document.topics[g_shownTopic].id;
}
