// The help window through real messages: its place, links, Back, index and search, wrapping
// with the real fonts, keys that stay in it, and closing it cleanly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "clock_window.h"
#include "help/help_layout.h"
#include "help/help_probe.h"
#include "help/help_text.h"
#include "help/help_view.h"
#include "help/help_window.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/settings.h"

namespace {

const char kHelpFile[] =
    "== contents | Contents\r\nkeywords: overview\r\n"
    "Read about the [[keys]] or [[chimes|the chimes]].\r\n"
    "== keys | Keyboard\r\nkeywords: keys; function keys\r\n"
    "These keys work in the clock window:\r\n  F5   Local Mean Time\r\n  F7   Universal Time\r\n"
    "See also [[helponhelp]].\r\n"
    "== chimes | Hourly Chimes\r\nkeywords: beep; sound\r\nOne beep, or as many beeps as the hour.\r\n"
    "- Single: one beep every hour, with a long explanation that has to wrap at the width\r\n"
    "  of the window whatever the font.\r\n"
    "== helponhelp | Using Help\r\nkeywords: back; search\r\nBack returns; search finds.\r\n";

class HelpWindow : public ClockWindow {
 protected:
  void SetUp() override {
    ClockWindow::SetUp();
    WriteFileBeside("ZORKEL.HLP", kHelpFile);
  }
  void TearDown() override {
    ShowHelp(window_, g_clock.helpPath, HELP_QUIT, 0);
    DeleteBeside("ZORKEL.HLP");
    ClockWindow::TearDown();
  }
  HWND Help() { return HelpWindowHandle(); }
  HWND View() { return HelpTextView(); }
  void Key(HWND target, int vk, bool system = false) {
    PostMessageA(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk),
                 system ? 0x20000001 : 1);
    PostMessageA(target, system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk),
                 static_cast<LPARAM>(system ? 0xE0000001u : 0xC0000001u));
    Pump();
  }
  // Clicks the first link that leads to `target`, where it is drawn.
  void ClickLink(const std::string &target) {
    const HelpLayout &l = *ShownHelpLayout();
    for (int i = 0; i < l.linkCount; ++i) {
      if (std::string(l.links[i].target, static_cast<std::size_t>(l.links[i].targetLength)) != target) continue;
      const HelpRun &run = l.runs[l.links[i].firstRun];
      const LPARAM at = MAKELPARAM(run.x + 2 - GetScrollPos(View(), SB_HORZ),
                                   run.y + 2 - GetScrollPos(View(), SB_VERT));
      PostMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageA(View(), WM_LBUTTONUP, 0, at);
      Pump();
      return;
    }
    ADD_FAILURE() << "no link to " << target << " on " << ShownHelpTopic();
  }
  void ClickButton(int id) {
    SendMessageA(Help(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Help(), id)));
    Pump();
  }
  std::string ShownText() {
    const HelpLayout &l = *ShownHelpLayout();
    std::string text;
    for (int r = 0; r < l.runCount; ++r) text.append(l.runs[r].text, static_cast<std::size_t>(l.runs[r].length));
    return text;
  }
};

TEST_F(HelpWindow, IsOwnedByTheClockFollowsItsDpiAndOpensWhereItWasLeft) {
  Open();
  Command(IDM_HELP_KEYBOARD);
  ASSERT_NE(Help(), nullptr);
  EXPECT_EQ(GetWindow(Help(), GW_OWNER), window_);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT r;
  GetWindowRect(Help(), &r);
  EXPECT_EQ(r.right - r.left, MulDiv(640, dpi, 96));
  EXPECT_EQ(r.bottom - r.top, MulDiv(480, dpi, 96));
  // Moved to a screen of twice the density: the suggested place, and fonts to match.
  const int lineHeight = ShownHelpMetrics()->fonts[kHelpProseStyle].lineHeight;
  RECT suggested = {30, 40, 30 + 600, 40 + 500};
  SendMessageA(Help(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
  GetWindowRect(Help(), &r);
  EXPECT_TRUE(EqualRect(&r, &suggested));
  EXPECT_GE(ShownHelpMetrics()->fonts[kHelpProseStyle].lineHeight, 2 * lineHeight - 2);
  SetWindowPos(Help(), nullptr, 50, 60, 500, 400, SWP_NOZORDER);
  Key(View(), VK_ESCAPE);  // Esc closes it
  EXPECT_EQ(Help(), nullptr);
  Command(IDM_HELP_INDEX);
  ASSERT_NE(Help(), nullptr);
  GetWindowRect(Help(), &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 400);
}

TEST_F(HelpWindow, LinksBackIndexAndSearchReachTheRightTopics) {
  Open();
  enum Action { kCommand, kClick, kButton, kKey, kAltKey, kSearch, kTabs, kMouseBack };
  struct Step {
    Action action;
    int number;
    const char *text;
    const char *topic;
  } steps[] = {
      {kCommand, IDM_HELP_KEYBOARD, "", "keys"},
      {kClick, 0, "helponhelp", "helponhelp"},
      {kAltKey, VK_LEFT, "", "keys"},           // Alt+Left
      {kButton, kHelpContentsButtonId, "", "contents"},
      {kClick, 0, "chimes", "chimes"},
      {kKey, VK_BACK, "", "contents"},          // Backspace
      {kTabs, 2, "", "chimes"},                 // Tab, Tab, Enter: the second link
      {kButton, kHelpBackButtonId, "", "contents"},
      {kCommand, IDM_HELP_INDEX, "", "(index)"},
      {kClick, 0, "#2", "chimes"},              // the entry "beep"
      {kSearch, 0, "BEEPS hour", "(search)"},
      {kTabs, 1, "", "chimes"},                 // the one topic found
      {kSearch, 0, "keys window", "(search)"},  // two words, one topic holds both
      {kClick, 0, "#1", "keys"},
      {kAltKey, VK_LEFT, "", "(search)"},
      {kMouseBack, 0, "", "chimes"},            // the mouse's back button
      {kCommand, IDM_HELP_USING, "", "helponhelp"},
  };
  int n = 0;
  for (const Step &s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << n++ << " on " << ShownHelpTopic());
    switch (s.action) {
      case kCommand: Command(s.number); Pump(); break;
      case kClick: ClickLink(s.text); break;
      case kButton: ClickButton(s.number); break;
      case kKey: Key(View(), s.number); break;
      case kAltKey: Key(View(), s.number, true); break;
      case kSearch: {
        HWND box = GetDlgItem(Help(), kHelpSearchBoxId);
        SetWindowTextA(box, s.text);
        SetFocus(box);
        Key(box, VK_RETURN);  // Enter in the box searches
        break;
      }
      case kTabs:
        SetFocus(View());
        for (int i = 0; i < s.number; ++i) Key(View(), VK_TAB);
        EXPECT_EQ(FocusedHelpLink(), s.number - 1);
        Key(View(), VK_RETURN);
        break;
      case kMouseBack: SendMessageA(View(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0); break;
    }
    EXPECT_STREQ(ShownHelpTopic(), s.topic);
  }
  EXPECT_EQ(ShownText().find("Using Help"), 0u) << "the topic opens with its title";
  // The search result lists only what holds every word.
  Command(IDM_HELP_INDEX);
  SetWindowTextA(GetDlgItem(Help(), kHelpSearchBoxId), "nothing holds this");
  Key(GetDlgItem(Help(), kHelpSearchBoxId), VK_RETURN);
  EXPECT_NE(ShownText().find("No topic contains"), std::string::npos) << ShownText();
  EXPECT_EQ(ShownHelpLayout()->linkCount, 0);
}

// Tab takes the controls as they stand on the screen; and Back, disabled on the first page
// while it has the focus, hands the focus on (Windows takes it from a disabled window).
TEST_F(HelpWindow, TabFollowsTheScreenAndBackHandsOnTheFocusWhenDisabled) {
  Open();
  Command(IDM_HELP_KEYBOARD);
  ClickLink("helponhelp");
  const int order[] = {kHelpContentsButtonId, kHelpIndexButtonId, kHelpBackButtonId, kHelpSearchBoxId,
                       IDOK, GetDlgCtrlID(View()), kHelpContentsButtonId};
  HWND at = GetDlgItem(Help(), order[0]);
  for (std::size_t i = 1; i < sizeof order / sizeof order[0]; ++i) {
    at = GetNextDlgTabItem(Help(), at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "after " << order[i - 1];
  }
  SetFocus(GetDlgItem(Help(), kHelpBackButtonId));
  ClickButton(kHelpBackButtonId);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Help(), kHelpBackButtonId)));
  EXPECT_EQ(GetFocus(), GetDlgItem(Help(), kHelpSearchBoxId));
}

// Every line and run of a layout, as text, so that two layouts compare whole.
std::string LayoutText(const HelpLayout &l) {
  std::string text;
  char line[160];
  std::snprintf(line, sizeof line, "page %d x %d, %d links\n", l.width, l.height, l.linkCount);
  text += line;
  for (int i = 0; i < l.lineCount; ++i) {
    const HelpLine &n = l.lines[i];
    std::snprintf(line, sizeof line, "line %d+%d runs %d+%d block %d style %d\n", n.y, n.height,
                  n.firstRun, n.runCount, n.block, n.style);
    text += line;
  }
  for (int i = 0; i < l.runCount; ++i) {
    const HelpRun &r = l.runs[i];
    std::snprintf(line, sizeof line, "run %d,%d+%d style %d link %d ", r.x, r.y, r.width, r.style, r.link);
    text += line + std::string(r.text, static_cast<std::size_t>(r.length)) + "\n";
  }
  return text;
}

// The window measures its real fonts (the message font, proportional; a fixed-pitch one for
// tables) and shows the page as the core lays it out for its view's width, again after every
// change of width; how the core wraps is checked natively (help_test.cpp). What it shows
// fits the view, and its words, as told to those who cannot see them, are the same at any width.
TEST_F(HelpWindow, ShowsThePageLaidOutForItsViewWithTheRealFonts) {
  Open();
  ShowHelp(window_, g_clock.helpPath, HELP_KEY, reinterpret_cast<ULONG_PTR>("beep"));
  ASSERT_STREQ(ShownHelpTopic(), "chimes");
  const HelpLayoutMetrics &m = *ShownHelpMetrics();
  EXPECT_LT(m.fonts[kHelpProseStyle].widths['i'], m.fonts[kHelpProseStyle].widths['W']);
  EXPECT_EQ(m.fonts[kHelpFixedStyle].widths['i'], m.fonts[kHelpFixedStyle].widths['W']);
  HelpDocument document{};
  ASSERT_TRUE(ParseHelpText(kHelpFile, sizeof kHelpFile - 1, &document));
  const HelpTopic &chimes = document.topics[FindHelpTopicById(document, "chimes")];
  int lineCounts[2] = {};
  const int widths[2] = {300, 560};
  const std::string words =
      "One beep, or as many beeps as the hour.\n\x95 Single: one beep every hour, with a long explanation "
      "that has to wrap at the width of the window whatever the font.";
  const char *title = nullptr;
  char text[512];
  for (int w = 0; w < 2; ++w) {
    SCOPED_TRACE(testing::Message() << "window width " << widths[w]);
    SetWindowPos(Help(), nullptr, 0, 0, widths[w], 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT client;
    GetClientRect(View(), &client);
    const HelpLayout &l = *ShownHelpLayout();
    HelpLayout want{};
    ASSERT_TRUE(LayOutHelpPage(chimes.title, chimes.body, &document, m, client.right, &want));
    EXPECT_EQ(LayoutText(l), LayoutText(want));
    FreeHelpLayout(&want);
    EXPECT_EQ(HelpViewPageText(View(), &title, text, sizeof text), words.size());
    EXPECT_STREQ(title, "Hourly Chimes");
    EXPECT_EQ(text, words);
    lineCounts[w] = l.lineCount;
    for (int i = 0; i < l.lineCount; ++i) {
      if (l.lines[i].runCount == 0) continue;
      const HelpRun &last = l.runs[l.lines[i].firstRun + l.lines[i].runCount - 1];
      EXPECT_LE(last.x + last.width, client.right - m.margin) << "line " << i;
    }
  }
  FreeHelpDocument(&document);
  EXPECT_GT(lineCounts[0], lineCounts[1]) << "the narrower window has more lines";
  EXPECT_EQ(HelpViewPageText(View(), &title, text, 8), words.size()) << "the length it needs";
  EXPECT_STREQ(text, "One bee");
}

TEST_F(HelpWindow, KeysTypedInItNeverReachTheClock) {
  Open();
  Command(IDM_HELP_KEYBOARD);
  struct Case {
    int key;
    bool system;
  } cases[] = {{VK_F5, false}, {VK_F6, false}, {VK_F7, false}, {VK_F8, false},
               {VK_F9, false}, {VK_F10, true}, {VK_F11, false}, {VK_F1, false}};
  for (HWND target : {View(), GetDlgItem(Help(), kHelpSearchBoxId), Help()}) {
    for (const Case &c : cases) {
      Key(target, c.key, c.system);
      EXPECT_EQ(ShownTimeKind(), 0) << c.key;
      EXPECT_EQ(g_clock.choice[kChoiceMenuBarHidden], 0) << c.key;
    }
  }
  EXPECT_EQ(StoredSetting("Time"), "<absent>");
  EXPECT_EQ(StoredSetting("Menus"), "<absent>");
  EXPECT_STREQ(ShownHelpTopic(), "keys");
  PressKey(VK_F7);  // typed in the clock, the same key does reach it
  EXPECT_EQ(ShownTimeKind(), 2);
}

TEST_F(HelpWindow, AMissingHelpFileIsShownInTheWindowNotFatal) {
  DeleteBeside("ZORKEL.HLP");
  Open();
  Command(IDM_HELP_INDEX);
  ASSERT_NE(Help(), nullptr);
  EXPECT_STREQ(ShownHelpTopic(), "");
  EXPECT_NE(ShownText().find("ZORKEL.HLP"), std::string::npos) << ShownText();
  EXPECT_TRUE(g_fake.boxes.empty());
}

// Closing the window every way (Esc, the close box, HELP_QUIT) leaves no window procedure
// of the program on a dying control: a subclass whose original procedure is lost before
// the control's last messages hands them to the wrong procedure, which frees what is not
// its own. Wine's heap warnings are switched on for the child, so that such a fault also
// shows in the log.
TEST_F(HelpWindow, OpeningAndClosingEveryWayCorruptsNothing) {
  char saved[256] = "";
  const DWORD had = GetEnvironmentVariableA("WINEDEBUG", saved, sizeof saved);
  SetEnvironmentVariableA("WINEDEBUG", "err+all,warn+heap");
  const ChildResult r = RunChild("help-open-close");
  SetEnvironmentVariableA("WINEDEBUG", had != 0 ? saved : nullptr);
  EXPECT_NE(r.output.find("CYCLES 12"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("SUBCLASSED"), std::string::npos) << r.output;
}

// Each control of the help window, as it is destroyed, must run its own class's procedure.
HHOOK g_hook = nullptr;
HWND g_helpForHook = nullptr;

LRESULT CALLBACK WatchDestruction(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code == HC_ACTION && m->message == WM_NCDESTROY && GetParent(m->hwnd) == g_helpForHook &&
      g_helpForHook != nullptr) {
    if (static_cast<ULONG_PTR>(GetWindowLongPtrA(m->hwnd, GWLP_WNDPROC)) != GetClassLongPtrA(m->hwnd, GCLP_WNDPROC)) {
      char name[64] = "";
      GetClassNameA(m->hwnd, name, sizeof name);
      std::printf("SUBCLASSED %s\n", name);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

// Child scenario: twelve open and close cycles (Esc, the close box, HELP_QUIT).
void HelpOpenCloseCycles() {
  ResetShellState();
  RegisterMainWindowClass(GetModuleHandleA(nullptr));
  WriteFileBeside("ZORKEL.HLP", kHelpFile);
  HWND clock = CreateMainWindow(CW_USEDEFAULT, CW_USEDEFAULT, 400, 300);
  KillTimer(clock, kClockTimerId);
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestruction, nullptr, GetCurrentThreadId());
  const UINT commands[3] = {HELP_FINDER, HELP_KEY, HELP_HELPONHELP};
  int cycles = 0;
  for (int i = 0; i < 12; ++i) {
    ShowHelp(clock, g_clock.helpPath, commands[i % 3], reinterpret_cast<ULONG_PTR>("keys"));
    g_helpForHook = HelpWindowHandle();
    if (i % 3 == 0) {
      PostMessageA(HelpTextView(), WM_KEYDOWN, VK_ESCAPE, 1);
    } else if (i % 3 == 1) {
      PostMessageA(HelpWindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      ShowHelp(clock, g_clock.helpPath, HELP_QUIT, 0);
    }
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchClockMessage(nullptr, &m);
    if (HelpWindowHandle() == nullptr) ++cycles;
  }
  UnhookWindowsHookEx(g_hook);
  std::printf("CYCLES %d\n", cycles);
  std::fflush(stdout);
  DeleteBeside("ZORKEL.HLP");
  ExitProcess(0);
}
