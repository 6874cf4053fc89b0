// Hourly chime detection and countdown. Portable.
#include "display/chimes.h"

#include "display/chimes_probe.h"
#include "display/clock_text.h"
#include "support/hooks.h"

namespace {

int g_chimeMode = kChimeMultiple;  // the mode until the setting is read
int g_pendingChimes = 0;

}  // namespace

int GetChimeMode() { return g_chimeMode; }
void SetChimeMode(int mode) { g_chimeMode = mode; }
int PendingChimeCount() { return g_pendingChimes; }
void SetPendingChimeCount(int count) { g_pendingChimes = count; }

void DetectHourlyChime(const char *text, const char *last, int minute) {
  // Two consecutive hours always differ in their last digit (9/10, 12/1, 23/0), so a new
  // second hour character at minute 00 marks the first update of a new hour. The minute
  // comes from the reading: with an empty time separator the 12-hour designator stands
  // where the minutes would be.
  if (text[1] != last[1] && minute == 0) {
    int hour = 0;
    if (ReadHourDigits(text, &hour)) g_pendingChimes = hour;
  }
}

void SoundPendingChime() {
  if (g_chimeMode == kChimeNone) {
    g_pendingChimes = 0;
    return;
  }
  if (g_pendingChimes <= 0) return;
  ChimeBeep();
  g_pendingChimes = g_pendingChimes - 1;
  if (g_chimeMode == kChimeSingle) g_pendingChimes = 0;
}

void ChimeBeep() { g_platform.beep(); }
