// Portable stand-ins for the platform hooks, used until the shell (or a test) installs its own.
// Portable.
#include "support/hooks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

void CopyLibraryTime(const std::tm *reading, CivilTime *now) {
  std::tm parts{};
  if (reading != nullptr) parts = *reading;
  now->year = parts.tm_year + 1900;
  now->month = parts.tm_mon + 1;
  now->day = parts.tm_mday;
  now->hour = parts.tm_hour;
  now->minute = parts.tm_min;
  now->second = parts.tm_sec > 59 ? 59 : parts.tm_sec;  // a leap second shows as :59
}

void ReadLibraryClock(CivilTime *now) {
  const std::time_t t = std::time(nullptr);
  CopyLibraryTime(std::localtime(&t), now);
}

void ReadLibraryUniversalTime(CivilTime *now) {
  const std::time_t t = std::time(nullptr);
  CopyLibraryTime(std::gmtime(&t), now);
}

// The C library knows whether daylight saving is in force, not by how much: the same
// reading taken as standard time falls later by exactly that amount.
double ReadLibraryDaylightHours() {
  const std::time_t t = std::time(nullptr);
  const std::tm *local = std::localtime(&t);
  if (local == nullptr || local->tm_isdst <= 0) return 0.0;
  std::tm standard = *local;
  standard.tm_isdst = 0;
  const std::time_t asStandard = std::mktime(&standard);
  if (asStandard == static_cast<std::time_t>(-1)) return 0.0;
  return std::difftime(asStandard, t) / 3600.0;
}

int ReadNoProfileInt(const char *, const char *, int defaultValue) { return defaultValue; }

void ReadNoProfileString(const char *, const char *, const char *defaultValue, char *out,
                         int size) {
  if (size > 0) std::snprintf(out, static_cast<std::size_t>(size), "%s", defaultValue);
}

int LoadNoText(int, char *out, int size) {
  if (size > 0) out[0] = '\0';
  return 0;
}

int PrintMessageBox(void *, const char *text, const char *caption, unsigned) {
  std::fprintf(stderr, "[%s] %s\n", caption, text);
  return kAnswerOk;
}

void NoBeep() {}
void NoClock() {}
void ExitNow(int exitCode) { std::_Exit(exitCode); }

void *g_heapBlock = nullptr;
std::size_t g_heapBytes = 0;

void *ResizeHeapBlock(std::size_t bytes) {
  if (bytes == 0) {
    std::free(g_heapBlock);
    g_heapBlock = nullptr;
    g_heapBytes = 0;
    return nullptr;
  }
  void *grown = std::realloc(g_heapBlock, bytes);
  if (grown == nullptr) return nullptr;
  if (bytes > g_heapBytes) std::memset(static_cast<char *>(grown) + g_heapBytes, 0, bytes - g_heapBytes);
  g_heapBlock = grown;
  g_heapBytes = bytes;
  return grown;
}

// Latin-1: the first 256 code points are its bytes; everything else becomes '?'.
long WideToLatin1(const std::uint16_t *units, std::size_t count, char *out, std::size_t size,
                  bool *lossy) {
  if (count > size) return -1;
  for (std::size_t i = 0; i < count; ++i) {
    if (units[i] > 0xFF) {
      out[i] = '?';
      *lossy = true;
    } else {
      out[i] = static_cast<char>(units[i]);
    }
  }
  return static_cast<long>(count);
}

}  // namespace

PlatformHooks DefaultPlatformHooks() {
  PlatformHooks hooks{};
  hooks.readLocalTime = ReadLibraryClock;
  hooks.readUniversalTime = ReadLibraryUniversalTime;
  hooks.readDaylightHours = ReadLibraryDaylightHours;
  hooks.readProfileInt = ReadNoProfileInt;
  hooks.readProfileString = ReadNoProfileString;
  hooks.loadText = LoadNoText;
  hooks.messageBox = PrintMessageBox;
  hooks.beep = NoBeep;
  hooks.stopClock = NoClock;
  hooks.endProcess = ExitNow;
  hooks.resizeTableBlock = ResizeHeapBlock;
  hooks.wideToAnsi = WideToLatin1;
  return hooks;
}

PlatformHooks g_platform = DefaultPlatformHooks();

void LoadText(int id, char *out) {
  if (g_platform.loadText(id, out, kTextSize) <= 0) out[0] = '\0';
}

void FillInTexts(const char *format, const char *const *texts, int count, char *out,
                 std::size_t size) {
  if (size == 0) return;
  std::size_t used = 0;
  int next = 0;
  for (const char *f = format; *f != '\0' && used + 1 < size; ++f) {
    if (f[0] == '%' && f[1] == 's' && next < count) {
      used += static_cast<std::size_t>(std::snprintf(out + used, size - used, "%s", texts[next++]));
      if (used >= size) used = size - 1;
      ++f;
    } else {
      out[used++] = *f;
    }
  }
  out[used] = '\0';
}
