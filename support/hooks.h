// The few plain function hooks through which the portable core reaches the platform.
// Portable: the Win32 shell installs the real ones at start-up; tests install fakes.
#pragma once

#include <cstddef>
#include <cstdint>

// Every text taken from the string table fits a buffer of this size (80 characters).
constexpr int kTextSize = 81;

// A reading of the computer's local civil clock, to the second, with the milliseconds where
// the platform gives them (only the sidereal scales use them; 0 where none are known).
struct CivilTime {
  int year;
  int month;
  int day;
  int hour;
  int minute;
  int second;
  int millisecond = 0;
};

// Message-box styles and answers, with the values the Windows API gives them, so that
// portable code can ask for a box without the platform's headers.
enum : unsigned {
  kBoxOk = 0x0000u,
  kBoxYesNo = 0x0004u,
  kBoxIconQuestion = 0x0020u,
  kBoxIconExclamation = 0x0030u,
  kBoxIconInformation = 0x0040u,
  kBoxTaskModal = 0x2000u,
};
enum { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

struct PlatformHooks {
  // The local civil date and time (Win32: GetLocalTime).
  void (*readLocalTime)(CivilTime *now);
  // The computer's Universal Time (UTC), date and time to the second (Win32: GetSystemTime).
  void (*readUniversalTime)(CivilTime *now);
  // How many hours the computer's clock is ahead of its standard time right now: 0 outside
  // daylight saving (Win32: GetTimeZoneInformation).
  double (*readDaylightHours)();
  // The user's profile, as GetProfileIntA / GetProfileStringA read it.
  int (*readProfileInt)(const char *section, const char *key, int defaultValue);
  void (*readProfileString)(const char *section, const char *key, const char *defaultValue,
                            char *out, int size);
  // A string-table text; returns its length, 0 (and an empty text) when there is none.
  int (*loadText)(int id, char *out, int size);
  // A modal message box; returns the button pressed (kAnswer...).
  int (*messageBox)(void *owner, const char *text, const char *caption, unsigned style);
  // One default beep.
  void (*beep)();
  // Stops the main window's one-second timer.
  void (*stopClock)();
  // Ends the process at once with this exit code; does not return.
  void (*endProcess)(int exitCode);
  // Grows the city table's one block to `bytes` (the added part zeroed) and returns the
  // address of its rows, or null when the memory cannot be had; 0 bytes releases it.
  void *(*resizeTableBlock)(std::size_t bytes);
  // Converts UTF-16 code units to the ANSI code page (Win32: WideCharToMultiByte). Writes
  // at most `size` bytes and returns how many, or -1 when it cannot; sets `*lossy` when a
  // character has no form there and was replaced.
  long (*wideToAnsi)(const std::uint16_t *units, std::size_t count, char *out, std::size_t size,
                     bool *lossy);
  // How many bytes the character that each byte begins holds in the ANSI code page: 0 or
  // 1 for a single-byte character, 2 for a lead byte of a double-byte code page (Win32:
  // GetCPInfo's lead-byte ranges). All 0 at start: a single-byte code page.
  unsigned char ansiCharBytes[256];
};

extern PlatformHooks g_platform;

// The hooks a process starts with: portable stand-ins (the C library's clock, no profile,
// no string table, boxes written to stderr, the C heap, Latin-1 as the ANSI code page).
PlatformHooks DefaultPlatformHooks();

// Loads string `id` into `out` (kTextSize characters); empty when the table has none.
void LoadText(int id, char *out);

// Writes `format` into `out` (`size` bytes) with the texts in place of its %s markers, in
// order; anything else, a % included, is kept as it is, so that a text from the string table
// is never a printf format.
void FillInTexts(const char *format, const char *const *texts, int count, char *out,
                 std::size_t size);
