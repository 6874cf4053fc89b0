// Closing the real main window through the messages Windows sends: the two steps of a
// session end, and closes that arrive while the exit question is up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "clock_window.h"
#include "location/city_table.h"
#include "shell/main_window.h"
#include "support/win32_hooks.h"

namespace {

using GetProcAddressCall = FARPROC(WINAPI *)(HMODULE, LPCSTR);
GetProcAddressCall g_realGetProcAddress = nullptr;
bool g_reasonCallsExist = true;  // false: a Windows without ShutdownBlockReasonCreate
std::string g_reason;            // the shutdown reason given, "" when none
std::vector<std::string> g_reasonAtQuestion;
UINT g_nested = 0;  // sent from inside the first question (0: none)
WPARAM g_nestedWParam = 0;
LRESULT g_nestedResult = -1;

BOOL WINAPI GiveReason(HWND, LPCWSTR reason) {
  char text[256] = "";
  WideCharToMultiByte(CP_ACP, 0, reason, -1, text, sizeof text, nullptr, nullptr);
  g_reason = text;
  return TRUE;
}
BOOL WINAPI WithdrawReason(HWND) {
  g_reason.clear();
  return TRUE;
}

FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF) {
    const bool create = std::strcmp(name, "ShutdownBlockReasonCreate") == 0;
    if (create || std::strcmp(name, "ShutdownBlockReasonDestroy") == 0) {
      if (!g_reasonCallsExist) return nullptr;
      void (*call)() = create ? reinterpret_cast<void (*)()>(GiveReason)
                              : reinterpret_cast<void (*)()>(WithdrawReason);
      return reinterpret_cast<FARPROC>(call);
    }
  }
  return g_realGetProcAddress(module, name);
}

// The question as the user sees it; the first one also receives the nested message, as
// Windows delivers it to the question's message loop.
int Ask(void *owner, const char *text, const char *caption, unsigned style) {
  g_reasonAtQuestion.push_back(g_reason);
  const UINT nested = g_nested;
  g_nested = 0;
  if (nested != 0) g_nestedResult = SendMessageA(MainWindowHandle(), nested, g_nestedWParam, 0);
  return RecordBox(owner, text, caption, style);
}

class SessionEnd : public ClockWindow {
 protected:
  void SetUp() override {
    ClockWindow::SetUp();
    g_realGetProcAddress = reinterpret_cast<GetProcAddressCall>(const_cast<void *>(
        ReplaceImport("kernel32.dll", "GetProcAddress", reinterpret_cast<const void *>(LookUp))));
    ASSERT_NE(g_realGetProcAddress, nullptr);
    g_platform.messageBox = Ask;
    g_reasonCallsExist = true;
    g_reason.clear();
    g_reasonAtQuestion.clear();
    g_nested = 0;
    g_nestedResult = -1;
  }
  void TearDown() override {
    ReplaceImport("kernel32.dll", "GetProcAddress", reinterpret_cast<const void *>(g_realGetProcAddress));
    ClockWindow::TearDown();
  }
  // Opens the clock with a confirmed, unsaved city.
  void OpenChanged() {
    Open();
    char name[81] = "Quito";
    StoreCity(0, name, 78, 30, 0, kWest, -5.0, 0);
  }
  LRESULT Send(UINT message, WPARAM wParam = 0) { return SendMessageA(window_, message, wParam, 0); }
  bool Saved() { return ReadFileBeside("ZORKEL.DAT").find("Quito") != std::string::npos; }
};

TEST_F(SessionEnd, TheSaveIsOfferedOnceWhileWindowsWaitsForTheAnswer) {
  const struct {
    const char *steps;  // Q WM_QUERYENDSESSION, E WM_ENDSESSION(TRUE), e its FALSE, C WM_CLOSE
    int answer;
    bool reasonCallsExist;
    size_t questions;
    bool saved, geometryStored;
  } cases[] = {
      // Asked and saved at the query: the process may be ended any time after it.
      {"Q", kAnswerYes, true, 1, true, false},
      {"QE", kAnswerYes, true, 1, true, true},  // not asked again at the end
      {"QE", kAnswerNo, true, 1, false, true},
      {"QE", kAnswerYes, false, 1, true, true},  // a Windows without the reason calls
      // Another program refused, so the session goes on: the next exit asks again.
      {"QeC", kAnswerNo, true, 2, false, true},
      {"QeC", kAnswerYes, true, 1, true, true},
      {"E", kAnswerYes, true, 1, true, true},  // ended without a query: its one chance
      {"e", kAnswerYes, true, 0, false, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.steps << " answer " << c.answer);
    OpenChanged();
    g_fake.answer = c.answer;
    g_reasonCallsExist = c.reasonCallsExist;
    for (const char *s = c.steps; *s != '\0'; ++s) {
      if (*s == 'Q') {
        EXPECT_EQ(Send(WM_QUERYENDSESSION), TRUE);  // the session may end
      } else if (*s == 'C') {
        Send(WM_CLOSE);
      } else {
        EXPECT_EQ(Send(WM_ENDSESSION, *s == 'E'), 0);
      }
    }
    EXPECT_EQ(g_fake.boxes.size(), c.questions);
    for (const std::string &reason : g_reasonAtQuestion) {
      EXPECT_EQ(reason, c.reasonCallsExist ? "Waiting for an answer: save city location database?" : "");
    }
    EXPECT_EQ(g_reason, "");  // withdrawn once answered
    EXPECT_EQ(Saved(), c.saved);
    EXPECT_EQ(StoredSetting("X") != "<absent>", c.geometryStored);
    TearDown();
    SetUp();
  }
}

TEST_F(SessionEnd, ACloseWhileTheExitQuestionIsUpDoesNothingMore) {
  const struct {
    UINT outer, nested;
    WPARAM nestedWParam;
    LRESULT nestedResult;
  } cases[] = {
      {WM_CLOSE, WM_CLOSE, 0, 0},                       // a second Exit, End task
      {WM_CLOSE, WM_QUERYENDSESSION, 0, FALSE},         // a shutdown: answer the question first
      {WM_CLOSE, WM_ENDSESSION, TRUE, 0},               // a session end forced meanwhile
      {WM_QUERYENDSESSION, WM_QUERYENDSESSION, 0, FALSE},  // a shutdown retry
      {WM_QUERYENDSESSION, WM_CLOSE, 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.outer << " then " << c.nested);
    OpenChanged();
    g_fake.answer = kAnswerYes;
    g_nested = c.nested;
    g_nestedWParam = c.nestedWParam;
    Send(c.outer);
    EXPECT_EQ(g_nestedResult, c.nestedResult);
    EXPECT_EQ(g_fake.boxes.size(), 1u);
    // The whole list, saved once: a close run inside the question released nothing.
    const std::string saved = ReadFileBeside("ZORKEL.DAT");
    EXPECT_EQ(saved.rfind("Quito\r\n", 0), 0u);
    EXPECT_NE(saved.find("Denver              |104|59| 0|W|-7.00|1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Quito               | 78|30| 0|W|-5.00|0\r\n"), std::string::npos);
    EXPECT_EQ(CityCount(), c.outer == WM_CLOSE ? 0 : 4);  // released by the close alone
    TearDown();
    SetUp();
  }
}

}  // namespace
