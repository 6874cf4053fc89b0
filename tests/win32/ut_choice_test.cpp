// Universal Time from Windows in the running window: the caption of a minimised window, and
// the question at start-up and after Set Location.
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

  const struct {
    int computerZone;  // hours
    const char *city;  // chosen in the list; null: Cancel
    int answer;
    size_t boxes;  // after the dialog
    bool on;
  } steps[] = {
      {-6, "Washington", kAnswerNo, 1, false},  // No was said for it in this run
      {-6, "Denver", kAnswerNo, 1, false},      // agrees (US daylight saving in July)
      {-7, nullptr, kAnswerNo, 1, false},       // Denver disagrees now, but Cancel confirms nothing
      {-7, "Denver", kAnswerNo, 2, false},      // confirmed: asked
      {-7, "Kolkata", kAnswerYes, 3, true},
      {-7, "Washington", kAnswerYes, 3, true},  // from Windows already: nothing to ask
  };
  for (const auto &s : steps) {
    SCOPED_TRACE(s.city != nullptr ? s.city : "Cancel");
    g_fake.computerZoneSeconds = s.computerZone * 3600;
    g_fake.answer = s.answer;
    WithDialog(IDM_SET_LOCATION, [&s](HWND d) {
      if (s.city != nullptr) ChooseListItem(d, s.city);
      Click(d, s.city != nullptr ? IDOK : IDCANCEL);
    });
    EXPECT_EQ(g_fake.boxes.size(), s.boxes);
    EXPECT_EQ(UniversalTimeFromComputer(), s.on);
  }
  // 12:30 in Kolkata (zone 5.5) is 7:00 UT, written as this computer writes times.
  EXPECT_NE(g_fake.boxes[2].text.find("Kolkata's time zone gives UT 7:00, but this computer's "
                                      "clock says UT is 19:30."),
            std::string::npos)
      << g_fake.boxes[2].text;
  EXPECT_TRUE(Checked(g_clock.mainMenu, IDM_UT_FROM_WINDOWS));
  EXPECT_EQ(StoredSetting("UTFromWindows"), "1");
}

}  // namespace
