// The settings store: short texts under key names, kept per user in the registry
// (HKEY_CURRENT_USER\Software\Corvanta\Orvane 2\<key>, the key's default value), or on
// Win32s in ZORKEL.INI. Win32.
#pragma once

#include <cstddef>

// The stored value as an int when it is all digits and fits, else `defaultValue`.
int ReadSettingInt(const char *key, int defaultValue);

// A stored signed number: digits with an optional leading minus that fit an int, else
// `defaultValue`.
int ReadSettingSigned(const char *key, int defaultValue);

// A stored window coordinate (X, Y), which may be negative: as ReadSettingSigned.
int ReadSettingCoordinate(const char *key, int defaultValue);

// The stored text into `out` (`size` bytes with its end), or the empty text when it is
// absent or longer.
void ReadSettingText(const char *key, char *out, std::size_t size);
bool WriteSettingText(const char *key, const char *value);

// Writes `value` as "%d" text.
bool WriteSettingInt(const char *key, int value);
