// The Set Location dialog's checks on its field texts. Portable.
#include "dialogs/location_check.h"

#include <cstdio>

#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/ansi_text.h"

bool CheckIntegerTexts(int count, IntegerFieldCheck *rows, const char *const *texts,
                       int *failedRow, std::int32_t *messageId) {
  for (int i = 0; i < count; ++i) {
    std::int32_t number = 0;
    if (!ReadWholeNumberText(texts[i], &number)) {
      *failedRow = i;
      *messageId = IDS_INVALID_NUMBER;
      return false;
    }
    if (number < rows[i].minimum || number > rows[i].maximum) {
      *failedRow = i;
      *messageId = rows[i].messageId;
      return false;
    }
    rows[i].value = number;
  }
  return true;
}

namespace {

void Fail(LocationCheck *result, std::int32_t controlId, std::int32_t messageId) {
  result->controlId = controlId;
  result->messageId = messageId;
}

}  // namespace

void CheckLocationTexts(const LocationTexts &texts, LocationCheck *result) {
  *result = LocationCheck{};
  char name[kTextSize];
  std::snprintf(name, sizeof name, "%s", texts.name);
  NormalizeWhiteSpace(name);
  if (name[0] == '\0') return Fail(result, IDC_LOCATION_COMBO, IDS_MUST_ENTER_NAME);
  // The city file separates its fields with |, and has no way to escape one (a | that is
  // the second byte of a double-byte character is part of that character).
  if (FindAnsiChar(name, '|') != nullptr) {
    return Fail(result, IDC_LOCATION_COMBO, IDS_NAME_HAS_SEPARATOR);
  }
  CutAnsiText(name, kCityNameLength);
  std::snprintf(result->name, sizeof result->name, "%s", name);
  result->nameRead = true;

  IntegerFieldCheck rows[3] = {
      {IDC_DEGREES, 0, 180, IDS_LONGITUDE_RANGE, 0},
      {IDC_MINUTES, 0, 59, IDS_MINUTES_RANGE, 0},
      {IDC_SECONDS, 0, 59, IDS_SECONDS_RANGE, 0},
  };
  const char *const integers[3] = {texts.degrees, texts.minutes, texts.seconds};
  int failed = 0;
  std::int32_t message = 0;
  if (!CheckIntegerTexts(3, rows, integers, &failed, &message)) {
    return Fail(result, rows[failed].controlId, message);
  }
  double zone = 0.0;
  if (!ReadRealText(texts.zone, &zone)) return Fail(result, IDC_ZONE, IDS_INVALID_NUMBER);
  // Civil time reaches from 12 hours behind Greenwich to 14 ahead (Kiritimati).
  if (zone < -12.0 || zone > 14.0) return Fail(result, IDC_ZONE, IDS_ZONE_RANGE);
  if (rows[0].value == 180 && rows[1].value + rows[2].value > 0) {
    return Fail(result, IDC_DEGREES, IDS_LONGITUDE_RANGE);
  }
  result->degrees = rows[0].value;
  result->minutes = rows[1].value;
  result->seconds = rows[2].value;
  result->zone = zone;
}
