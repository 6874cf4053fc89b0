// Test doubles for the platform hooks (portable).
#include "fake_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/apparent.h"
#include "astro/apparent_probe.h"
#include "astro/universal_time.h"
#include "display/intl.h"
#include "display/intl_probe.h"
#include "display/ut_question.h"
#include "resources/resource_ids.h"

FakePlatform g_fake;

namespace {

int ReadFakeInt(const char *section, const char *key, int defaultValue) {
  ++g_fake.profileReads;
  if (std::strcmp(section, "intl") != 0) return defaultValue;
  auto it = g_fake.intl.find(key);
  if (it == g_fake.intl.end()) return defaultValue;
  // As GetProfileIntA: the leading digits, 0 when there are none.
  return std::atoi(it->second.c_str());
}

void ReadFakeString(const char *section, const char *key, const char *defaultValue, char *out,
                    int size) {
  ++g_fake.profileReads;
  const char *value = defaultValue;
  if (std::strcmp(section, "intl") == 0) {
    auto it = g_fake.intl.find(key);
    if (it != g_fake.intl.end()) value = it->second.c_str();
  }
  std::snprintf(out, static_cast<size_t>(size), "%s", value);
}

int LoadFakeText(int id, char *out, int size) {
  const auto &texts = StringTableTexts();
  auto it = texts.find(id);
  if (it == texts.end()) {
    out[0] = '\0';
    return 0;
  }
  std::snprintf(out, static_cast<size_t>(size), "%s", it->second.c_str());
  return static_cast<int>(std::strlen(out));
}

void CountClockStop() { ++g_fake.clockStops; }

void ThrowProcessEnded(int exitCode) {
  g_fake.exits.push_back(exitCode);
  throw ProcessEnded{exitCode};
}

}  // namespace

void ReadFakeClock(CivilTime *now) { *now = g_fake.now; }

double ReadFakeDaylightHours() { return g_fake.daylightHours; }

void ReadFakeUniversalTime(CivilTime *now) {
  // Days since 1970-01-01 of a proleptic Gregorian date, and back.
  const CivilTime &t = g_fake.now;
  const long y = t.month <= 2 ? t.year - 1 : t.year;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
  const long days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
  long long s = static_cast<long long>(days) * 86400 + t.hour * 3600 + t.minute * 60 + t.second -
                g_fake.computerZoneSeconds;
  long long z = (s >= 0 ? s : s - 86399) / 86400;
  const long long inDay = s - z * 86400;
  z += 719468;
  const long long era2 = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era2 * 146097;
  const long long yoe2 = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy2 = doe - (365 * yoe2 + yoe2 / 4 - yoe2 / 100);
  const long long mp = (5 * doy2 + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *now = CivilTime{static_cast<int>(yoe2 + era2 * 400 + (month <= 2 ? 1 : 0)), month,
                   static_cast<int>(doy2 - (153 * mp + 2) / 5 + 1), static_cast<int>(inDay / 3600),
                   static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60)};
}

int RecordBox(void *owner, const char *text, const char *caption, unsigned style) {
  g_fake.boxes.push_back({owner, text, caption, style});
  return g_fake.answer;
}

void CountBeep() { ++g_fake.beeps; }

void ClearFakeRecords() {
  g_fake.boxes.clear();
  g_fake.beeps = 0;
  g_fake.clockStops = 0;
  g_fake.exits.clear();
  g_fake.answer = kAnswerOk;
}

void InstallFakePlatform() {
  g_fake = FakePlatform{};
  g_platform = DefaultPlatformHooks();
  g_platform.readLocalTime = ReadFakeClock;
  g_platform.readDaylightHours = ReadFakeDaylightHours;
  g_platform.readUniversalTime = ReadFakeUniversalTime;
  g_platform.readProfileInt = ReadFakeInt;
  g_platform.readProfileString = ReadFakeString;
  g_platform.loadText = LoadFakeText;
  g_platform.messageBox = RecordBox;
  g_platform.beep = CountBeep;
  g_platform.stopClock = CountClockStop;
  g_platform.endProcess = ThrowProcessEnded;
  MarkIntlSettingsStale();
  SetUniversalTimeFromComputer(false);
  SetApparentSiderealTime(false);
  SetDut1Milliseconds(0);
  ForgetNutation();
  ForgetDeclinedCities();
}

void SetFakeClock(int year, int month, int day, int hour, int minute, int second) {
  g_fake.now = CivilTime{year, month, day, hour, minute, second};
}

const std::map<int, std::string> &StringTableTexts() {
  static const std::map<int, std::string> texts = {
      {IDS_MUST_ENTER_NAME, "Must enter location name"},
      {IDS_CITY_FILE, "ZORKEL.DAT"},
      {IDS_CANNOT_LOAD_CITIES, "Cannot load city location database"},
      {IDS_NO_NAME, "No name"},
      {IDS_NEW_CITY_FILE, "CITIES.NEW"},
      {IDS_CANNOT_SAVE_CITIES, "Cannot save city location database"},
      {IDS_CANNOT_CLOSE_CITIES, "Cannot close city location database"},
      {IDS_SAVE_CITIES_QUESTION, "Save city location database?"},
      {IDS_CITY_FILE_NOT_WHOLE, "ZORKEL.DAT could not be read whole; a save keeps it as ZORKEL.BAK"},
      {IDS_BACKUP_CITY_FILE, "ZORKEL.BAK"},
      {IDS_FOLDER_NOT_WRITABLE, "The city list cannot be saved: this folder cannot be written:"},
      {IDS_KEEP_IN_OWN_FOLDER, "Keep Orvane 2 in a folder of your own, such as one in Documents."},
      {IDS_CANNOT_LOAD_FONT, "Cannot load font"},
      {IDS_PRODUCT_NAME, "Orvane 2"},
      {IDS_INVALID_NUMBER, "Invalid number"},
      {IDS_WINDOW_ERROR, "Window error"},
      {IDS_CANNOT_CREATE_DIALOG, "Cannot create dialog box"},
      {IDS_NO_TIMER, "No timer available"},
      {IDS_DIALOG_ERROR, "Dialog box error"},
      {IDS_OUT_OF_MEMORY, "Out of memory"},
      {IDS_KEY_SOUND, "Sound"},
      {IDS_HIDE_MENU_BAR, "Hide Menu Bar\tF10"},
      {IDS_SHOW_MENU_BAR, "Show Menu Bar\tF11"},
      {IDS_KEY_MENUS, "Menus"},
      {IDS_KEY_TIME, "Time"},
      {IDS_LONGITUDE_RANGE, "Longitude must be between 0\xB0 and 180\xB0"},
      {IDS_MINUTES_RANGE, "Minutes must be between 0 and 59"},
      {IDS_SECONDS_RANGE, "Seconds must be between 0 and 59"},
      {IDS_ZONE_RANGE, "Time zone must be between -12 and 14 hours"},
      {IDS_ABBREV_BASE + 0, "LMT"},
      {IDS_ABBREV_BASE + 1, "LMT"},
      {IDS_ABBREV_BASE + 2, "UT"},
      {IDS_ABBREV_BASE + 3, "LST"},
      {IDS_ABBREV_BASE + 4, "GST"},
      {IDS_KEY_WIDTH, "Width"},
      {IDS_KEY_HEIGHT, "Height"},
      {IDS_KEY_X, "X"},
      {IDS_KEY_Y, "Y"},
      {IDS_AM, "AM"},
      {IDS_PM, "PM"},
      {IDS_ALWAYS_ON_TOP, "Always on &Top"},
      {IDS_KEY_ON_TOP, "OnTop"},
      {IDS_NAME_HAS_SEPARATOR, "Location name cannot contain |"},
      {IDS_WEB_ADDRESS, "https://www.corvanta.example/orvane2/"},
      {IDS_HELP_TITLE, "Orvane 2 Help"},
      {IDS_HELP_UNREADABLE, "The help file ZORKEL.HLP cannot be read. It belongs beside ZORKEL.EXE."},
      {IDS_HELP_NO_TOPIC, "There is no help topic for this keyword."},
      {IDS_HELP_CONTENTS, "&Contents"},
      {IDS_HELP_INDEX, "&Index"},
      {IDS_HELP_BACK, "&Back"},
      {IDS_HELP_SEARCH, "&Search"},
      {IDS_HELP_SEARCH_TITLE, "Topics with all these words"},
      {IDS_HELP_NOT_FOUND, "No topic contains all of these words."},
      {IDS_KEY_NIGHT, "Night"},
      {IDS_NIGHT_COLOURS, "Night C&olours\tCtrl+N"},
      {IDS_SHUTDOWN_REASON, "Waiting for an answer: save city location database?"},
      {IDS_UT_FROM_WINDOWS, "Universal Time from &Windows"},
      {IDS_KEY_UT_FROM_WINDOWS, "UTFromWindows"},
      {IDS_KEY_MAXIMIZED, "Maximized"},
      {IDS_APPARENT, "A&pparent Sidereal Time"},
      {IDS_KEY_APPARENT, "Apparent"},
      {IDS_ABBREV_LAST, "LAST"},
      {IDS_ABBREV_GAST, "GAST"},
      {IDS_KEY_DUT1, "DUT1"},
      {IDS_EXE_NAME, "ZORKEL.EXE"},
      {IDS_ERROR_CAPTION, "Orvane 2 - Error"},
      {IDS_FATAL_CAPTION, "Orvane 2 - Fatal Error"},
      {IDS_GDI_ERROR, "GDI Error"},
      {IDS_INI_FILE, "ZORKEL.INI"},
      {IDS_NO_ACCELERATORS, "Cannot load accelerators"},
      {IDS_HELP_FILE, "ZORKEL.HLP"},
      {IDS_HELP_ERROR, "Help error"},
      {IDS_INI_SECTION, "Quillet 2"},
      {IDS_SETTINGS_PATH, "Software\\Corvanta\\Orvane 2\\"},
      {IDS_REGISTRY_ERROR, "Cannot store/retrieve data to/from the registry"},
      {IDS_UT_DISAGREES, "%s's time zone gives UT %s, but this computer's clock says UT is %s."},
      {IDS_UT_QUESTION, "Take Universal Time from Windows?"},
      {IDS_KEY_DUT1_DATE, "DUT1Date"},
      {IDS_DUT1_RANGE, "DUT1 must be between -0.9 and +0.9 seconds"},
      {IDS_DUT1_NOT_ENTERED, "not entered"},
      {IDS_KEY_TIME_SERVER, "TimeServer"},
      {IDS_DEFAULT_TIME_SERVER, "time.windows.com"},
      {IDS_KEY_SERVER_CORRECTION, "ServerCorrection"},
      {IDS_SNTP_BEHIND, "This computer's clock is %s behind %s"},
      {IDS_SNTP_AHEAD, "This computer's clock is %s ahead of %s"},
      {IDS_SNTP_AGREES, "This computer's clock agrees with %s to the millisecond"},
      {IDS_SNTP_UNCERTAINTY, "Uncertainty: \xB1%s (half the round trip)"},
      {IDS_SNTP_SERVER, "The server's stratum: %s; its reference: %s"},
      {IDS_SNTP_MEASURED, "Measured at %s"},
      {IDS_SNTP_LST_LATE, "LST shown %s late"},
      {IDS_SNTP_LST_EARLY, "LST shown %s early"},
      {IDS_SNTP_RIGHT_FOR_POINTING, "Right for pointing"},
      {IDS_SNTP_HOW_TO_SET, "To set Windows' clock: Settings, Time & language, Date & time, Sync now"},
      {IDS_SNTP_MILLISECONDS, "%s ms"},
      {IDS_SNTP_SECONDS, "%s s"},
      {IDS_SNTP_MINUTES_SECONDS, "%s min %s s"},
      {IDS_SNTP_HOURS_MINUTES, "%s h %s min"},
      {IDS_SNTP_DAYS, "%s days"},
      {IDS_SNTP_STATUS_BASE + 1, "A reply came from another address than %s"},
      {IDS_SNTP_STATUS_BASE + 2, "%s sent a reply too short to be one"},
      {IDS_SNTP_STATUS_BASE + 3, "%s's reply was not a server's"},
      {IDS_SNTP_STATUS_BASE + 4, "%s's reply is of a version this clock does not know"},
      {IDS_SNTP_STATUS_BASE + 5, "%s's reply did not answer this clock's question"},
      {IDS_SNTP_STATUS_BASE + 6, "%s asks not to be asked again (%s); choose another server"},
      {IDS_SNTP_STATUS_BASE + 7, "%s says its own clock is not set"},
      {IDS_SNTP_STATUS_BASE + 8, "%s says its own clock is not set (stratum above 15)"},
      {IDS_SNTP_STATUS_BASE + 9, "%s's reply carried no time"},
      {IDS_SNTP_STATUS_BASE + 10, "%s's reply took over 3 s, or this computer's clock moved meanwhile"},
      {IDS_SNTP_STATUS_BASE + 11, "No answer from %s after three tries"},
      {IDS_SNTP_STATUS_BASE + 12, "The name %s was not found"},
      {IDS_SNTP_STATUS_BASE + 13, "No network: this computer is not connected"},
      {IDS_SNTP_STATUS_BASE + 14, "The time server must be a name, or name:port with a port from 1 to 65535"},
      {IDS_SNTP_STATUS_BASE + 15, "%s asked not to be asked again; choose another server"},
      {IDS_CHECK_ASKING, "Asking %s..."},
      {IDS_SERVER_CORRECTION, "Correct the Shown Time by the Ser&ver"},
      {IDS_CORRECTED_SCALE, "%s, corrected"},
      {IDS_CORRECTED_MINIMISED, "%s*"},
  };
  return texts;
}
