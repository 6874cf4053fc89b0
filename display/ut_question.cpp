// The question of Universal Time from Windows: its text and the cities declined. Portable.
#include "display/ut_question.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/clock_reading.h"
#include "astro/universal_time.h"
#include "display/clock_text.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"

namespace {

// Enough for every city a user names in one run; beyond it the oldest No is forgotten. A No
// holds for the computer's zone it was given under: after travel the question is new.
constexpr int kDeclinedCount = 32;
struct DeclinedCity {
  char name[kCityNameLength + 1];
  long computerZoneMinutes;
};
DeclinedCity g_declined[kDeclinedCount] = {};
int g_declinedNext = 0;
long g_checkedZoneMinutes = 0;  // the computer's zone at the last check
bool g_checked = false;
bool g_asking = false;  // a question is up: a check arriving meanwhile waits for the answer

bool Declined(const char *name, long zoneMinutes) {
  for (const auto &d : g_declined) {
    if (d.name[0] != '\0' && d.computerZoneMinutes == zoneMinutes &&
        EqualIgnoringAsciiCase(d.name, name)) {
      return true;
    }
  }
  return false;
}

long ComputerZoneMinutes() {
  return std::lround(ComputerZoneHours(LocalClockJulianDay()) * 60.0);
}

// Hours and minutes as the clock shows them, in the user's punctuation.
void HoursAndMinutes(double hours, char *out) {
  char text[kTextSize];
  FormatClockText(hours, text);
  text[5] = '\0';  // hours, separator, minutes
  std::snprintf(out, kTextSize, "%s", text[0] == ' ' ? text + 1 : text);
}

}  // namespace

bool AskToTakeUniversalTimeFromComputer(void *owner, const Location &location) {
  if (g_asking) return false;
  const long zoneMinutes = ComputerZoneMinutes();
  g_checkedZoneMinutes = zoneMinutes;
  g_checked = true;
  if (UniversalTimeFromComputer() || Declined(location.name, zoneMinutes)) return false;
  double cityUt = 0.0;
  double computerUt = 0.0;
  if (!CityDisagreesWithComputer(location, &cityUt, &computerUt)) return false;

  char cityText[kTextSize];
  char computerText[kTextSize];
  HoursAndMinutes(cityUt, cityText);
  HoursAndMinutes(computerUt, computerText);
  const char *texts[] = {location.name, cityText, computerText};
  char format[kTextSize];
  char ask[kTextSize];
  char caption[kTextSize];
  LoadText(IDS_UT_DISAGREES, format);
  LoadText(IDS_UT_QUESTION, ask);
  LoadText(IDS_PRODUCT_NAME, caption);
  char message[3 * kTextSize];
  FillInTexts(format, texts, 3, message, sizeof message);
  const size_t used = std::strlen(message);
  std::snprintf(message + used, sizeof message - used, " %s", ask);

  g_asking = true;
  const int answer = g_platform.messageBox(owner, message, caption, kBoxYesNo | kBoxIconQuestion);
  g_asking = false;
  if (answer == kAnswerYes) return true;
  DeclinedCity *declined = &g_declined[g_declinedNext];
  std::snprintf(declined->name, sizeof declined->name, "%s", location.name);
  declined->computerZoneMinutes = zoneMinutes;
  g_declinedNext = (g_declinedNext + 1) % kDeclinedCount;
  return false;
}

bool ComputerZoneMovedSinceLastCheck() {
  return g_checked && ComputerZoneMinutes() != g_checkedZoneMinutes;
}

void ForgetDeclinedCities() {
  std::memset(g_declined, 0, sizeof g_declined);
  g_declinedNext = 0;
  g_checked = false;
  g_checkedZoneMinutes = 0;
  g_asking = false;
}
