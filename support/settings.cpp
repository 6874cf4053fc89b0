// Settings in the registry, or in ZORKEL.INI on Win32s. Win32.
#include "support/settings.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"
#include "support/settings_probe.h"
#include "support/settings_value.h"
#include "support/win32_hooks.h"

namespace {

constexpr std::size_t kMaxKeyPath = 1024;

// "Software\Corvanta\Orvane 2\<key>"; a longer path than the registry takes is fatal.
void BuildKeyPath(const char *key, char *out) {
  char prefix[kTextSize];
  LoadText(IDS_SETTINGS_PATH, prefix);
  FAIL_IF(std::strlen(prefix) + std::strlen(key) > kMaxKeyPath, IDS_REGISTRY_ERROR);
  std::snprintf(out, kMaxKeyPath + 1, "%s%s", prefix, key);
}

}  // namespace

bool IsWin32s() {
  const DWORD version = GetVersion();
  return (version & 0x80000000u) != 0 && LOBYTE(LOWORD(version)) < 4;
}

bool WriteSetting(const char *key, const char *value) {
  if (IsWin32s()) {
    char section[kTextSize];
    char file[kTextSize];
    LoadText(IDS_INI_SECTION, section);
    LoadText(IDS_INI_FILE, file);
    WritePrivateProfileStringA(section, key, value, file);
    return true;
  }
  char path[kMaxKeyPath + 1];
  BuildKeyPath(key, path);
  HKEY handle = nullptr;
  char noClass[] = "";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, noClass, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;  // no key, nothing to write to
  }
  const LONG set = RegSetValueExA(handle, nullptr, 0, REG_SZ,
                                  reinterpret_cast<const BYTE *>(value),
                                  static_cast<DWORD>(std::strlen(value) + 1));
  const LONG closed = RegCloseKey(handle);
  return set == ERROR_SUCCESS && closed == ERROR_SUCCESS;
}

void ReadSettingText(const char *key, char *out, std::size_t size) {
  out[0] = '\0';
  if (IsWin32s()) {
    char section[kTextSize];
    char file[kTextSize];
    LoadText(IDS_INI_SECTION, section);
    LoadText(IDS_INI_FILE, file);
    GetPrivateProfileStringA(section, key, "", out, static_cast<DWORD>(size), file);
    return;
  }
  char path[kMaxKeyPath + 1];
  BuildKeyPath(key, path);
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) {
    return;
  }
  DWORD type = 0;
  DWORD got = static_cast<DWORD>(size);
  const LONG queried =
      RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(out), &got);
  if (queried != ERROR_SUCCESS || type != REG_SZ) {
    out[0] = '\0';
  } else if (got < static_cast<DWORD>(size)) {
    out[got] = '\0';  // a value stored without its terminator
  } else if (std::memchr(out, '\0', size) == nullptr) {
    out[0] = '\0';  // a text that does not fit with its end: as if absent
  }
  if (RegCloseKey(handle) != ERROR_SUCCESS) {
    ShowWarning(MainWindowHandle(), IDS_REGISTRY_ERROR, 0);
  }
}

void ReadSetting(const char *key, char *out) { ReadSettingText(key, out, kTextSize); }

bool WriteSettingText(const char *key, const char *value) { return WriteSetting(key, value); }

int ReadSettingInt(const char *key, int defaultValue) {
  char text[kTextSize];
  ReadSetting(key, text);
  return ParseSettingInt(text, defaultValue);
}

int ReadSettingSigned(const char *key, int defaultValue) {
  char text[kTextSize];
  ReadSetting(key, text);
  return ParseSettingCoordinate(text, defaultValue);
}

int ReadSettingCoordinate(const char *key, int defaultValue) {
  return ReadSettingSigned(key, defaultValue);
}

bool WriteSettingInt(const char *key, int value) {
  char text[kTextSize];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteSetting(key, text);
}

