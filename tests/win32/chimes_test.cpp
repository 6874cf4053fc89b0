// The hourly chimes through real ticks of the main window: Multiple one beep a tick, the
// 12-hour form and hour zero, None, a change of mode or scale in the middle of a run.
#include <gtest/gtest.h>

#include <windows.h>

#include "clock_window.h"
#include "display/chimes.h"
#include "display/chimes_probe.h"
#include "resources/resource_ids.h"
#include "support/settings.h"
#include "support/settings_probe.h"

namespace {

using Chimes = ClockWindow;

// Ticks the clock second by second from h:m:s, returning the beeps heard.
int TickFrom(ClockWindow *, int hour, int minute, int second, int ticks, void (*tick)(void *),
             void *self) {
  const int before = g_fake.beeps;
  for (int i = 0; i < ticks; ++i) {
    int s = second + i;
    SetFakeClock(1999, 7, 1, hour, minute + s / 60, s % 60);
    tick(self);
  }
  return g_fake.beeps - before;
}

class ChimeRun : public ClockWindow {
 protected:
  int Run(int hour, int minute, int second, int ticks) {
    return TickFrom(this, hour, minute, second, ticks,
                    [](void *self) { static_cast<ChimeRun *>(self)->Tick(); }, this);
  }
};

TEST_F(ChimeRun, MultipleSoundsTheHourOnePerTick) {
  Open();
  Command(IDM_LMT24);
  EXPECT_EQ(Run(12, 59, 58, 2), 0);
  SetFakeClock(1999, 7, 1, 13, 0, 0);
  Tick();
  EXPECT_EQ(g_fake.beeps, 1);  // the tick that first shows 13:00 beeps at once
  EXPECT_EQ(Run(13, 0, 1, 12), 12);
  EXPECT_EQ(Run(13, 0, 13, 5), 0);
}

TEST_F(ChimeRun, TwelveHourFormAndHourZero) {
  struct Case {
    int kind, hour, mode, beeps;
  } cases[] = {
      {0, 12, kChimeMultiple, 12},  // noon
      {0, 0, kChimeMultiple, 12},   // midnight
      {0, 13, kChimeMultiple, 1},   // 1 PM
      {1, 0, kChimeMultiple, 0},    // hour 0 in 24-hour form: nothing
      {1, 0, kChimeSingle, 0},
      {1, 15, kChimeSingle, 1},
      {1, 15, kChimeNone, 0},
  };
  Open();
  for (const Case &c : cases) {
    Command(IDM_TIME_BASE + c.kind);
    Command(IDM_CHIME_BASE + c.mode);
    Run(c.hour == 0 ? 23 : c.hour - 1, 59, 58, 2);
    EXPECT_EQ(Run(c.hour, 0, 0, 20), c.beeps) << "kind " << c.kind << " hour " << c.hour
                                              << " mode " << c.mode;
    EXPECT_EQ(PendingChimeCount(), 0);
  }
}

TEST_F(ChimeRun, NoneClearsTheArmedCountAtTheNextTick) {
  Open();
  Command(IDM_LMT24);
  Command(IDM_CHIME_NONE);
  Run(13, 59, 59, 1);
  SetFakeClock(1999, 7, 1, 14, 0, 0);
  Paint();  // a paint arms without sounding
  EXPECT_EQ(PendingChimeCount(), 14);
  Tick();
  EXPECT_EQ(PendingChimeCount(), 0);
  EXPECT_EQ(g_fake.beeps, 0);
}

TEST_F(ChimeRun, SwitchingModeInTheMiddleOfARun) {
  Open();
  Command(IDM_LMT24);
  Run(15, 59, 59, 1);
  EXPECT_EQ(Run(16, 0, 0, 3), 3);
  Command(IDM_CHIME_SINGLE);
  EXPECT_EQ(Run(16, 0, 3, 5), 1);  // one more, then the run ends
  EXPECT_EQ(StoredSetting("Sound"), "1");
  Command(IDM_CHIME_MULTIPLE);
  Run(16, 59, 59, 1);
  EXPECT_EQ(Run(17, 0, 0, 2), 2);
  Command(IDM_CHIME_NONE);
  EXPECT_EQ(Run(17, 0, 2, 5), 0);  // the next tick ends the run without a beep
}

TEST_F(ChimeRun, StartedInMinuteZeroArmsAtTheFirstPaint) {
  SetFakeClock(1999, 7, 1, 15, 0, 20);
  WriteSetting("Time", "1");
  Open();  // its first paint finds no previous text
  EXPECT_EQ(PendingChimeCount(), 15);
  EXPECT_EQ(g_fake.beeps, 0);
  EXPECT_EQ(Run(15, 0, 21, 20), 15);
}

TEST_F(ChimeRun, SwitchingTimeKindInMinuteZero) {
  Open();
  Command(IDM_LMT12);
  Run(12, 59, 59, 1);
  EXPECT_EQ(Run(13, 0, 0, 1), 1);  // " 1:00:00 PM": one beep
  Command(IDM_LMT24);  // "13:00:01": another second hour digit: thirteen
  EXPECT_EQ(Run(13, 0, 1, 20), 13);
  Command(IDM_LMT12);
  Run(10, 59, 59, 1);
  Command(IDM_LMT24);
  Run(11, 0, 0, 20);
  Command(IDM_LMT12);  // "11:00:20 AM" after "11:00:19": the same hour digit, nothing
  EXPECT_EQ(Run(11, 0, 20, 5), 0);
}

TEST_F(ChimeRun, MinimisedWindowChimesTheSame) {
  Open();
  Command(IDM_LMT24);
  ShowWindow(window_, SW_MINIMIZE);
  Pump();
  Run(8, 59, 59, 1);
  EXPECT_EQ(Run(9, 0, 0, 12), 9);
  EXPECT_EQ(Caption(), " 9:00 LMT");
}

}  // namespace
