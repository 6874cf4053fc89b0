// The platform hooks on Windows: GetLocalTime, GetSystemTime (each with the time server's
// correction), the time-zone settings, the WIN.INI profile, the string table, message boxes,
// MessageBeep, the main window's timer, ExitProcess, global memory, the ANSI code page. Win32.
#include "support/win32_hooks.h"

#include "support/clock_timer.h"
#include "support/hooks.h"
#include "support/time_correction.h"

namespace {

HINSTANCE g_resourceInstance = nullptr;
HWND g_mainWindow = nullptr;
HGLOBAL g_tableBlock = nullptr;

void CopySystemTime(const SYSTEMTIME &st, CivilTime *now) {
  now->year = st.wYear;
  now->month = st.wMonth;
  now->day = st.wDay;
  now->hour = st.wHour;
  now->minute = st.wMinute;
  now->second = st.wSecond;
  now->millisecond = st.wMilliseconds;
}

// Both readings carry the time server's offset while the correction is in force, so every
// scale, the tick's arming and the chimes follow the server's seconds.
void ReadWin32Clock(CivilTime *now) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  CopySystemTime(st, now);
  ShiftCivilTime(now, CorrectionOffset(g_timeCorrection));
}

// Windows keeps UTC itself (its time service sets it); the local clock is derived from it.
void ReadWin32UniversalTime(CivilTime *now) {
  SYSTEMTIME st;
  GetSystemTime(&st);
  CopySystemTime(st, now);
  ShiftCivilTime(now, CorrectionOffset(g_timeCorrection));
}

// The bias Windows applies now, from its own time-zone settings: daylight time is ahead of
// standard time by the difference of the two biases (minutes, subtracted from UTC).
double ReadWin32DaylightHours() {
  TIME_ZONE_INFORMATION zone;
  if (GetTimeZoneInformation(&zone) != TIME_ZONE_ID_DAYLIGHT) return 0.0;
  const long ahead = static_cast<long>(zone.StandardBias) - static_cast<long>(zone.DaylightBias);
  if (ahead < -24 * 60 || ahead > 24 * 60) return 0.0;  // settings no clock could keep
  return static_cast<double>(ahead) / 60.0;
}

int ReadWin32ProfileInt(const char *section, const char *key, int defaultValue) {
  return static_cast<int>(GetProfileIntA(section, key, defaultValue));
}

void ReadWin32ProfileString(const char *section, const char *key, const char *defaultValue,
                            char *out, int size) {
  GetProfileStringA(section, key, defaultValue, out, static_cast<DWORD>(size));
}

int LoadWin32Text(int id, char *out, int size) {
  const int n = LoadStringA(g_resourceInstance, static_cast<UINT>(id), out, size);
  if (n <= 0) out[0] = '\0';
  return n;
}

int ShowWin32Box(void *owner, const char *text, const char *caption, unsigned style) {
  return MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

void Win32Beep() { MessageBeep(0); }

void StopWin32Clock() {
  if (g_mainWindow != nullptr) KillTimer(g_mainWindow, kClockTimerId);
}

void EndWin32Process(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

// The city table lives in one movable global block, unlocked only while it is resized.
void *ResizeGlobalBlock(std::size_t bytes) {
  if (bytes == 0) {
    if (g_tableBlock != nullptr) {
      GlobalUnlock(g_tableBlock);
      GlobalFree(g_tableBlock);
      g_tableBlock = nullptr;
    }
    return nullptr;
  }
  HGLOBAL block;
  if (g_tableBlock == nullptr) {
    block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  } else {
    GlobalUnlock(g_tableBlock);
    block = GlobalReAlloc(g_tableBlock, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (block == nullptr) GlobalLock(g_tableBlock);  // the old rows stay usable
  }
  if (block == nullptr) return nullptr;
  g_tableBlock = block;
  return GlobalLock(block);
}

// WideCharToMultiByte into the ANSI code page. No best-fit characters ("o" for an o with
// double acute): a character the code page lacks is replaced, and that is reported. A UTF-8
// ANSI code page takes neither the flag nor the report, and loses nothing.
long WideToWin32Ansi(const std::uint16_t *units, std::size_t count, char *out, std::size_t size,
                     bool *lossy) {
  if (count == 0) return 0;
  if (count > 0x3FFFFFFF || size > 0x7FFFFFFF) return -1;
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  const int written = WideCharToMultiByte(
      CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t *>(units),
      static_cast<int>(count), out, static_cast<int>(size), nullptr, utf8 ? nullptr : &usedDefault);
  if (written <= 0) return -1;
  if (usedDefault) *lossy = true;
  return written;
}

}  // namespace

void FillAnsiCharBytes(UINT codePage, unsigned char *table) {
  for (int b = 0; b < 256; ++b) table[b] = 1;
  if (codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8)) {
    for (int b = 0xC2; b <= 0xF4; ++b) table[b] = b <= 0xDF ? 2 : b <= 0xEF ? 3 : 4;
    return;
  }
  CPINFO info;
  if (!GetCPInfo(codePage, &info)) return;
  // Pairs of first and last lead byte, ended by a pair of zeros.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) table[b] = 2;
  }
}

void InstallWin32Hooks(HINSTANCE instance) {
  g_resourceInstance = instance;
  g_platform.readLocalTime = ReadWin32Clock;
  g_platform.readUniversalTime = ReadWin32UniversalTime;
  g_platform.readDaylightHours = ReadWin32DaylightHours;
  g_platform.readProfileInt = ReadWin32ProfileInt;
  g_platform.readProfileString = ReadWin32ProfileString;
  g_platform.loadText = LoadWin32Text;
  g_platform.messageBox = ShowWin32Box;
  g_platform.beep = Win32Beep;
  g_platform.stopClock = StopWin32Clock;
  g_platform.endProcess = EndWin32Process;
  g_platform.resizeTableBlock = ResizeGlobalBlock;
  g_platform.wideToAnsi = WideToWin32Ansi;
  FillAnsiCharBytes(CP_ACP, g_platform.ansiCharBytes);
}

void SetMainWindowHandle(HWND window) { g_mainWindow = window; }

HWND MainWindowHandle() { return g_mainWindow; }
