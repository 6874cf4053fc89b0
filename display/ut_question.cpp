// The question of Universal Time from Windows: its text and the cities declined. Portable.
#include "display/ut_question.h"

#include <cstdio>
#include <cstring>

#include "astro/universal_time.h"
#include "display/clock_text.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/hooks.h"

namespace {

// Enough for every city a user names in one run; beyond it the oldest No is forgotten.
constexpr int kDeclinedCount = 32;
char g_declined[kDeclinedCount][kCityNameLength + 1] = {};
int g_declinedNext = 0;

bool Declined(const char *name) {
  for (const auto &d : g_declined) {
    if (d[0] != '\0' && EqualIgnoringAsciiCase(d, name)) return true;
  }
  return false;
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
  if (UniversalTimeFromComputer() || Declined(location.name)) return false;
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

  if (g_platform.messageBox(owner, message, caption, kBoxYesNo | kBoxIconQuestion) == kAnswerYes) {
    return true;
  }
  std::snprintf(g_declined[g_declinedNext], sizeof g_declined[0], "%s", location.name);
  g_declinedNext = (g_declinedNext + 1) % kDeclinedCount;
  return false;
}

void ForgetDeclinedCities() {
  std::memset(g_declined, 0, sizeof g_declined);
  g_declinedNext = 0;
}
