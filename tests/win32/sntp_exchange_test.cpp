// The asynchronous exchange with a time server, against the tests' own responders on
// 127.0.0.1 (tools/sntp_responder.py, started by tests/win32/with_sntp_responders.sh, which
// gives each one's port as ORVANE_SNTP_<mode>). Win32.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

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

}  // namespace
