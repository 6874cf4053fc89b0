// The computer's clock as the program follows it: a tick re-arms itself for the next second,
// and UT under the computer's own time-zone rules (code 2).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "astro/clock_reading.h"
#include "clock_window.h"
#include "resources/resource_ids.h"
#include "shell/clock_state.h"
#include "shell/server_correction.h"
#include "support/settings_probe.h"
#include "support/sntp_exchange.h"
#include "support/time_correction.h"
#include "support/win32_hooks.h"

namespace {

using TickTimer = ClockWindow;

// A tick that cannot arm the next ends the program (fatal_exits_test.cpp).
TEST_F(TickTimer, EveryTickArmsTheNext) {
  Open();
  ASSERT_FALSE(KillTimer(window_, kClockTimerId));  // the fixture stopped the one start-up made
  SendMessageA(window_, WM_TIMER, 1, 0);
  EXPECT_TRUE(KillTimer(window_, kClockTimerId));
}

// The computer's own clock, local or UTC, to the millisecond and uncorrected.
void ReadTestClockExactly(bool local, CivilTime *t) {
  SYSTEMTIME st;
  (local ? GetLocalTime : GetSystemTime)(&st);
  *t = CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

UINT g_armedFor = 0;
decltype(&SetTimer) g_realSetTimer = nullptr;
UINT_PTR WINAPI RecordSetTimer(HWND w, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  g_armedFor = elapse;
  return g_realSetTimer(w, id, elapse, proc);
}

// Each tick of LST and GST, and each choice that moves their seconds, is aimed just past the
// sky's next second, from the reading drawn (LMT follows the system's clock, not the fake
// one). At 17:00:00 UT on 1999 July 1, a whole second of the computer's, mean GST is
// 11:37:13.557 and LST at 77 deg W has the same fraction; apparent GST is 11:37:12.920
// (ERFA's gst06a). A sidereal second lasts 997.27 ms.
TEST_F(TickTimer, EachTickIsAimedAtTheNextSecondOfTheScaleDrawn) {
  Open();
  SetFakeClock(1999, 7, 1, 12, 0, 0);
  g_realSetTimer = reinterpret_cast<decltype(&SetTimer)>(const_cast<void *>(
      ReplaceImport("user32.dll", "SetTimer", reinterpret_cast<const void *>(RecordSetTimer))));
  ASSERT_NE(g_realSetTimer, nullptr);
  const struct {
    int scale;
    bool apparent;
    UINT delay;
  } rows[] = {{IDM_GST, false, 441 + 3},  // 0.442 s to go
              {IDM_LST, false, 441 + 3},
              {IDM_GST, true, 80 + 3}};   // 0.080 s
  for (const auto &r : rows) {
    g_armedFor = 0;
    Command(r.scale);
    if (r.apparent) Command(IDM_APPARENT);
    EXPECT_EQ(g_armedFor, r.delay) << r.scale << (r.apparent ? " apparent" : "") << ", chosen";
    g_armedFor = 0;
    Tick();
    EXPECT_EQ(g_armedFor, r.delay) << r.scale << (r.apparent ? " apparent" : "") << ", ticked";
  }
  ReplaceImport("user32.dll", "SetTimer", reinterpret_cast<const void *>(g_realSetTimer));
}

double HoursOf(const SYSTEMTIME &t) {
  return t.wHour + t.wMinute / 60.0 + t.wSecond / 3600.0;
}

// Run with the computer's zone and time set from outside the process (TZ and faketime, see
// tests/CMakeLists.txt): UT for a city on the computer's rules is the computer's own UTC,
// in summer and winter and on either side of a change; ORVANE_EXPECT_AHEAD says which side
// the row is on. Without TZ (or with another zone) it is skipped.
TEST(ComputerZone, UtOfACityOnTheComputersRulesIsTheComputersUtc) {
  char tz[64] = "";
  if (GetEnvironmentVariableA("TZ", tz, sizeof tz) == 0) GTEST_SKIP() << "no TZ given";
  const struct {
    const char *tz;
    double zone;
  } cities[] = {{"Europe/London", 0.0}, {"Europe/Paris", 1.0}, {"Australia/Sydney", 10.0},
                {"America/Havana", -5.0}};
  Location city{};
  bool known = false;
  for (const auto &c : cities) {
    if (std::strcmp(c.tz, tz) == 0) {
      city.zone = c.zone;
      known = true;
    }
  }
  if (!known) GTEST_SKIP() << "no city of this table lies in " << tz;
  city.dst = kComputerDaylightSaving;
  UseFakeClock(false);
  char ahead[16] = "";
  if (GetEnvironmentVariableA("ORVANE_EXPECT_AHEAD", ahead, sizeof ahead) > 0) {
    EXPECT_EQ(g_platform.readDaylightHours(), std::atof(ahead)) << tz;
  }
  Location plain = city;  // the same city without daylight saving: the local clock less the zone
  plain.dst = kNoDaylightSaving;
  for (int attempt = 0; attempt < 5; ++attempt) {
    SYSTEMTIME before, after;
    GetSystemTime(&before);
    const double ut = ReadClock(kUt, city);
    const double local = ReadClock(kLmt24, city);
    const double standard = ReadClock(kUt, plain);
    GetSystemTime(&after);
    if (before.wSecond != after.wSecond) continue;  // a second turned between the readings
    EXPECT_NEAR(ut, HoursOf(before), 1e-6) << tz;
    double want = local - city.zone;
    want += want < 0 ? 24 : want >= 24 ? -24 : 0;
    EXPECT_NEAR(standard, want, 1e-6) << tz;
    return;
  }
  FAIL() << "the clock would not hold still for a reading";
}

// Milliseconds since 1601 of a reading.
long long MillisecondsOf(const CivilTime &t) {
  const SYSTEMTIME st = {static_cast<WORD>(t.year), static_cast<WORD>(t.month), 0,
                         static_cast<WORD>(t.day), static_cast<WORD>(t.hour),
                         static_cast<WORD>(t.minute), static_cast<WORD>(t.second),
                         static_cast<WORD>(t.millisecond)};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return static_cast<long long>((ULONGLONG{ft.dwHighDateTime} << 32) | ft.dwLowDateTime) / 10000;
}

// The platform's clock readings, local and UTC, carry the time server's offset while the
// correction is on and measured, milliseconds and all, and nothing otherwise.
TEST(ServerCorrection, TheComputersReadingsCarryTheOffsetInForce) {
  const PlatformHooks saved = g_platform;
  InstallWin32Hooks(GetModuleHandleA(nullptr));
  const struct {
    bool on, measured;
    long long offsetMs, shownMs;
  } rows[] = {{true, true, 3250, 3250}, {true, true, -1500, -1500}, {true, false, 3250, 0},
              {false, true, 3250, 0}};
  for (const auto &r : rows) {
    g_timeCorrection = TimeCorrection{};
    SetCorrectionOn(&g_timeCorrection, r.on, 0);
    if (r.measured) RecordMeasurement(&g_timeCorrection, true, r.offsetMs * 10000 + 3250, 0);
    for (const bool local : {true, false}) {
      CivilTime before = {}, read = {}, after = {};
      ReadTestClockExactly(local, &before);
      (local ? g_platform.readLocalTime : g_platform.readUniversalTime)(&read);
      ReadTestClockExactly(local, &after);
      EXPECT_GE(MillisecondsOf(read), MillisecondsOf(before) + r.shownMs) << r.shownMs << local;
      EXPECT_LE(MillisecondsOf(read), MillisecondsOf(after) + r.shownMs) << r.shownMs << local;
    }
  }
  g_timeCorrection = TimeCorrection{};
  g_platform = saved;
}

using ServerCorrectionWindow = ClockWindow;

// The window's side, step by step: the choice asks at once, a measurement marks the caption,
// a change of the computer's clock drops it at once and asks again, waking asks, turning it
// off or closing drops the question. The server is a port of 127.0.0.1 nobody answers on.
TEST_F(ServerCorrectionWindow, MeasuresWhenDueAndTheCaptionFollows) {
  WriteSetting("TimeServer", "127.0.0.1:9");
  Open();
  enum Step { kChoose, kMeasured, kTimeChange, kWake, kClose };
  const struct {
    Step step;
    bool asking, corrected;
    const char *stored;
  } steps[] = {
      {kChoose, true, false, "1"},      {kMeasured, true, true, "1"},
      {kTimeChange, true, false, "1"},  {kMeasured, true, true, "1"},
      {kWake, true, true, "1"},         {kChoose, false, false, "0"},
      {kChoose, true, false, "1"},      {kClose, false, false, "1"},
  };
  int n = 0;
  for (const auto &s : steps) {
    const std::string row = "step " + std::to_string(++n);
    if (s.step == kChoose) Command(IDM_SERVER_CORRECTION);
    if (s.step == kMeasured) {  // as the exchange's answer would leave it, then the poll
      RecordMeasurement(&g_timeCorrection, true, 32500000,
                        static_cast<long long>(GetTickCount64()));
      SendMessageA(window_, WM_TIMER, kCorrectionTimerId, 0);
    }
    if (s.step == kTimeChange) SendMessageA(window_, WM_TIMECHANGE, 0, 0);
    if (s.step == kWake) CancelSntpExchange();  // then asked again on waking
    if (s.step == kWake) SendMessageA(window_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    if (s.step == kClose) DestroyWindow(window_);
    EXPECT_EQ(SntpExchangeBusy(), s.asking) << row;
    EXPECT_EQ(CorrectionInForce(g_timeCorrection), s.corrected) << row;
    if (s.step != kClose) {
      EXPECT_EQ(Caption(), s.corrected ? "Orvane 2 (LMT, corrected)" : "Orvane 2 (LMT)") << row;
      EXPECT_EQ(Checked(g_clock.mainMenu, IDM_SERVER_CORRECTION), s.stored[0] == '1') << row;
    }
    EXPECT_EQ(StoredSetting("ServerCorrection"), s.stored) << row;
  }
}

}  // namespace
