// Universal Time from Windows in the running window: the caption of a minimised window, and
// the question at start-up, after Set Location and after the computer's time or time zone
// changed.
#include <gtest/gtest.h>

#include <string>

#include "astro/universal_time.h"
#include "clock_window.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "support/settings_probe.h"

namespace {

using UtFromWindows = ClockWindow;

// How the stored choice is read, and both menus' items, are rows of StoredChoices.*.
TEST_F(UtFromWindows, ATurnWhileMinimisedRewritesTheCaptionAtOnce) {
  Open();
  // Minimised, the caption shows the new UT at once: Washington's 17:30, the computer's 19:30.
  g_fake.computerZoneSeconds = -7 * 3600;
  Command(IDM_UT);
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Tick();
  EXPECT_EQ(Caption(), "17:30 UT");
  SysCommand(IDM_UT_FROM_WINDOWS);
  EXPECT_EQ(Caption(), "19:30 UT");
}

// The computer keeps UTC-6 (Denver's summer time) while the clock starts on Washington
// (zone -5, no daylight saving): 12:30 there is 17:30 UT, the computer says 18:30. Then
// the computer's zone moves to UTC-7 under a Denver that keeps US daylight saving.
TEST_F(UtFromWindows, AskedAtStartAndAfterSetLocationOnlyWhileTheyDisagree) {
  g_fake.computerZoneSeconds = -6 * 3600;
  g_fake.answer = kAnswerNo;
  Open();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text,
            "Washington's time zone gives UT 17:30, but this computer's clock says UT is 18:30. "
            "Take Universal Time from Windows?");
  EXPECT_EQ(g_fake.boxes[0].owner, window_);
  EXPECT_FALSE(UniversalTimeFromComputer());

  // Windows tells every window of a change of the clock or the time zone (travel, an
  // automatic time zone) with WM_TIMECHANGE, and of a settings change with WM_SETTINGCHANGE.
  const struct {
    int computerZone;  // hours
    const char *city;  // chosen in the list; null: Cancel, unless a message is sent instead
    int answer;
    size_t boxes;  // after the dialog or the message
    bool on;
    UINT message;  // sent instead of the dialog when not 0
  } steps[] = {
      {-6, "Washington", kAnswerNo, 1, false, 0},  // No was said for it in this run
      {-6, "Denver", kAnswerNo, 1, false, 0},      // agrees (US daylight saving in July)
      {-7, nullptr, kAnswerNo, 1, false, 0},  // Denver disagrees now, but Cancel confirms nothing
      {-7, nullptr, kAnswerNo, 2, false, WM_SETTINGCHANGE},  // the zone moved: asked
      {-7, nullptr, kAnswerNo, 2, false, WM_TIMECHANGE},     // No said for Denver at UTC-7
      {-5, nullptr, kAnswerNo, 3, false, WM_TIMECHANGE},     // travelled on: a new question
      {-6, nullptr, kAnswerNo, 3, false, WM_SETTINGCHANGE},  // back where Denver agrees
      {-7, nullptr, kAnswerNo, 3, false, WM_SETTINGCHANGE},  // and where it was declined
      {-8, "Kolkata", kAnswerYes, 4, true, 0},
      {-8, "Washington", kAnswerYes, 4, true, 0},  // from Windows already: nothing to ask
      {-9, nullptr, kAnswerYes, 4, true, WM_TIMECHANGE},
  };
  for (const auto &s : steps) {
    SCOPED_TRACE(s.city != nullptr ? s.city : s.message != 0 ? "message" : "Cancel");
    g_fake.computerZoneSeconds = s.computerZone * 3600;
    g_fake.answer = s.answer;
    if (s.message != 0) {
      SendMessageA(window_, s.message, 0, 0);
      Pump();
    } else {
      WithDialog(IDM_SET_LOCATION, [&s](HWND d) {
        if (s.city != nullptr) ChooseListItem(d, s.city);
        Click(d, s.city != nullptr ? IDOK : IDCANCEL);
      });
    }
    EXPECT_EQ(g_fake.boxes.size(), s.boxes);
    EXPECT_EQ(UniversalTimeFromComputer(), s.on);
  }
  // 12:30 in Kolkata (zone 5.5) is 7:00 UT, written as this computer writes times.
  EXPECT_NE(g_fake.boxes[3].text.find("Kolkata's time zone gives UT 7:00, but this computer's "
                                      "clock says UT is 20:30."),
            std::string::npos)
      << g_fake.boxes[3].text;
  EXPECT_TRUE(Checked(g_clock.mainMenu, IDM_UT_FROM_WINDOWS));
  EXPECT_EQ(StoredSetting("UTFromWindows"), "1");
}

}  // namespace
