// Test doubles for the platform hooks: a settable clock, an in-memory "intl" profile, the
// whole string table (checked against the resource script), and a recorder for boxes and
// beeps.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/hooks.h"

struct RecordedBox {
  void *owner;
  std::string text;
  std::string caption;
  unsigned style;
};

struct FakePlatform {
  CivilTime now{1999, 7, 1, 12, 0, 0};
  double daylightHours = 0.0;  // how far the computer's clock is ahead of its standard time
  long computerZoneSeconds = 0;  // how far `now` is ahead of the computer's UTC
  std::map<std::string, std::string> intl;  // "intl" entries present in the profile
  int profileReads = 0;
  std::vector<RecordedBox> boxes;
  int answer = kAnswerOk;  // what every box answers
  int beeps = 0;
  int clockStops = 0;
  std::vector<int> exits;  // exit codes asked for, in order
};

extern FakePlatform g_fake;

// Thrown by the fake endProcess so that a test can watch a fatal path end.
struct ProcessEnded {
  int exitCode;
};

// Installs the fakes and resets them (and the core's caches) to a known state.
void InstallFakePlatform();

// Clears what the fakes recorded (boxes, beeps, exits), keeping the hooks as they are.
void ClearFakeRecords();

// The recording fakes, for test programs that install the rest of the hooks themselves.
void ReadFakeClock(CivilTime *now);
double ReadFakeDaylightHours();
void ReadFakeUniversalTime(CivilTime *now);  // `now` less computerZoneSeconds
int RecordBox(void *owner, const char *text, const char *caption, unsigned style);
void CountBeep();

void SetFakeClock(int year, int month, int day, int hour, int minute, int second);

// The exact texts of the string table, as the resource script holds them.
const std::map<int, std::string> &StringTableTexts();
