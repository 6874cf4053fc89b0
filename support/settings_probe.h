// The settings store's texts themselves, and which store is in use: the program reads and
// writes its numbers through settings.h; tests set and read the stored text. Win32.
#pragma once

// True when the INI file is to be used (Win32s).
bool IsWin32s();

// Stores `value` under `key`; true when it was stored. Callers may ignore the result.
bool WriteSetting(const char *key, const char *value);

// The text stored under `key` into `out` (81 characters), or the empty text.
void ReadSetting(const char *key, char *out);
