// The asynchronous exchange with a time server, against the tests' own responders on
// 127.0.0.1 (tools/sntp_responder.py, started by tests/win32/with_sntp_responders.sh, which
// gives each one's port as ORVANE_SNTP_<mode>), by itself and through the clock's dialog.
// Win32.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "clock_window.h"
#include "resources/resource_ids.h"
#include "shell/clock_state.h"
#include "support/settings_probe.h"
#include "support/win32_hooks.h"
#include "support/sntp_exchange.h"

namespace {

constexpr UINT kResultMessage = WM_APP + 40;

int g_posted = -1;

LRESULT CALLBACK ExchangeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleSntpExchangeMessage(window, message, wParam, lParam)) return 0;
  if (message == kResultMessage) g_posted = static_cast<int>(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// The responder's server text for `mode`, as the user would type it.
std::string Responder(const char *mode) {
  const char *port = std::getenv((std::string("ORVANE_SNTP_") + mode).c_str());
  return std::string("127.0.0.1:") + (port != nullptr ? port : "?");
}

class SntpExchange : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA c = {};
    c.lpfnWndProc = ExchangeWindowProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "SntpExchangeTest";
    RegisterClassA(&c);
    window_ = CreateWindowA("SntpExchangeTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            c.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    CancelSntpExchange();
    DestroyWindow(window_);
  }
  // Asks and runs the message loop until the result is posted (three tries take 9 s); counts
  // the other messages handled meanwhile, which show the thread never waited.
  int Ask(const std::string &server, int *handled = nullptr) {
    g_posted = -1;
    StartSntpExchange(window_, server.c_str(), kResultMessage);
    const DWORD start = GetTickCount();
    SetTimer(window_, 1, 100, nullptr);
    int others = 0;
    while (g_posted < 0 && GetTickCount() - start < 20000) {
      MSG m;
      if (GetMessageA(&m, nullptr, 0, 0) <= 0) break;
      others += m.message == WM_TIMER && m.wParam == 1;
      DispatchMessageA(&m);
    }
    KillTimer(window_, 1);
    if (handled != nullptr) *handled = others;
    return g_posted;
  }
  HWND window_ = nullptr;
};

TEST_F(SntpExchange, EachResponderGivesItsResult) {
  const struct {
    const char *mode;
    SntpStatus status;
  } rows[] = {
      {"answer", kSntpGood},           // 2.5 s ahead of this computer
      {"late", kSntpGood},             // leaves the first question unanswered
      {"kiss", kSntpKissOfDeath},
      {"origin", kSntpWrongOrigin},    // three tries of forged replies, none trusted
      {"silent", kSntpNoAnswer},
  };
  for (const auto &row : rows) {
    int ticks = 0;
    EXPECT_EQ(Ask(Responder(row.mode), &ticks), row.status) << row.mode;
    EXPECT_EQ(LastSntpResult().status, row.status) << row.mode;
    EXPECT_GT(ticks, row.status == kSntpNoAnswer ? 10 : -1) << "the thread waited";
  }
  const SntpResult &r = LastSntpResult();
  // By name, through the asynchronous lookup (localhost comes from the hosts file).
  EXPECT_EQ(Ask("localhost" + Responder("answer").substr(9)), kSntpGood);
  // Both clocks are this machine's: the offset told is 2.5 s within the uncertainty.
  EXPECT_NEAR(static_cast<double>(r.offset) / kTicksPerSecond, 2.5,
              static_cast<double>(r.delay) / 2 / kTicksPerSecond + 0.002);
  EXPECT_STREQ(r.reference, "TEST");
}

TEST_F(SntpExchange, AKissOfDeathSilencesThatServerUntilTheSettingChanges) {
  EXPECT_EQ(Ask(Responder("kiss")), kSntpKissOfDeath);
  EXPECT_STREQ(LastSntpResult().kissCode, "RATE");
  EXPECT_EQ(Ask(" " + Responder("kiss")), kSntpServerSilenced);  // the same server
  EXPECT_EQ(Ask(Responder("answer")), kSntpGood);
  EXPECT_EQ(Ask(Responder("kiss")), kSntpKissOfDeath);  // asked again once changed back
  EXPECT_EQ(Ask("127.0.0.1:0"), kSntpBadServerText);
}

using SntpCheckDialog = ClockWindow;

// The dialog's lines once its check has ended, running the clock's own timer meanwhile as
// the dialog's loop does; `ticks` counts the clock's ticks.
std::string AwaitResult(HWND dialog, HWND clock, int *ticks) {
  SetTimer(clock, kClockTimerId, 200, nullptr);
  const DWORD start = GetTickCount();
  while (FieldText(dialog, IDC_CHECK_RESULT).rfind("Asking ", 0) == 0 &&
         GetTickCount() - start < 20000) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    *ticks += m.hwnd == clock && m.message == WM_TIMER && m.wParam == kClockTimerId;
    if (!IsDialogMessageA(dialog, &m)) DispatchMessageA(&m);
  }
  KillTimer(clock, kClockTimerId);
  return FieldText(dialog, IDC_CHECK_RESULT);
}

// Opened on a server the clock refuses at once (nothing is sent), then each server typed and
// asked again: its words, the clock ticking all the while, and what is stored. The check
// box makes the correction choice, its menu mark and its setting.
TEST_F(SntpCheckDialog, SaysWhatEachServerAnsweredWhileTheClockTicks) {
  WriteSetting("TimeServer", "127.0.0.1:0");
  const std::string answer = Responder("answer"), silent = Responder("silent");
  const struct {
    std::string typed;
    std::vector<std::string> words;
    std::string stored;
  } rows[] = {
      // The responder is 2.5 s ahead of this computer.
      {answer, {"This computer's clock is 2.5", " s behind " + answer, "LST shown 2.5 s late",
                "Time & language"}, answer},
      {silent, {"No answer from " + silent + " after three tries"}, silent},
      {"127.0.0.1:0", {"The time server must be a name"}, silent},  // refused: not stored
  };
  Open();
  WithDialog(IDM_CHECK_CLOCK, [&](HWND d) {
    int ticks = 0;
    EXPECT_EQ(AwaitResult(d, window_, &ticks).rfind("The time server must be", 0), 0u);
    for (const auto &row : rows) {
      // A refusal still queued when the next check starts is not taken for that one's result.
      for (const std::string &server : {std::string("127.0.0.1:0"), row.typed}) {
        SetField(d, IDC_CHECK_SERVER, server);
        Click(d, IDC_CHECK_AGAIN);
      }
      ticks = 0;
      const std::string text = AwaitResult(d, window_, &ticks);
      for (const std::string &words : row.words) {
        EXPECT_NE(text.find(words), std::string::npos) << words << " in " << text;
      }
      EXPECT_EQ(StoredSetting("TimeServer"), row.stored);
      EXPECT_GT(ticks, row.typed == silent ? 5 : -1) << "the clock stopped ticking";
    }
    SendDlgItemMessageA(d, IDC_CHECK_CORRECTION, BM_CLICK, 0, 0);
    Click(d, IDCANCEL);
  });
  EXPECT_EQ(StoredSetting("ServerCorrection"), "1");
  EXPECT_TRUE(Checked(g_clock.mainMenu, IDM_SERVER_CORRECTION));
}

void CALLBACK CloseTheClock(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SendMessageA(MainWindowHandle(), WM_CLOSE, 0, 0);
}

// The clock closed while the dialog waits for a silent server: the dialog goes with the
// clock's loop and nothing is shown.
TEST_F(SntpCheckDialog, ClosingTheClockMidCheckEndsTheDialog) {
  WriteSetting("TimeServer", Responder("silent").c_str());
  Open();
  SetTimer(nullptr, 0, 300, CloseTheClock);
  Command(IDM_CHECK_CLOCK);  // returns once the loop's quit ends the dialog
  EXPECT_EQ(FindWindowA("#32770", "Check the Computer's Clock"), nullptr);
  EXPECT_TRUE(g_fake.boxes.empty());
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

}  // namespace
