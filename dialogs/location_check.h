// The checks that the Set Location dialog makes on OK and Save, on the texts of its fields:
// which field fails first and with which message, or the values read. Portable.
#pragma once

#include <cstdint>

#include "dialogs/field_text.h"
#include "support/hooks.h"

// Checks each row's text as a signed whole number, in order. True when every row passes
// (each value is then written); otherwise the first failing row and its message ("Invalid
// number" for text that is no whole number, the row's own message when out of range), and
// the rows after it keep their values.
bool CheckIntegerTexts(int count, IntegerFieldCheck *rows, const char *const *texts,
                       int *failedRow, std::int32_t *messageId);

// What the user typed into the dialog's fields.
struct LocationTexts {
  const char *name;
  const char *degrees;
  const char *minutes;
  const char *seconds;
  const char *zone;
};

// The outcome: the control and message of the first check that fails (both 0 when all
// pass), and what was read up to there.
struct LocationCheck {
  std::int32_t controlId;
  std::int32_t messageId;
  bool nameRead;          // the name passed its checks; `name` holds it
  char name[kTextSize];   // white space normalised, cut to a city name's length
  std::int32_t degrees;
  std::int32_t minutes;
  std::int32_t seconds;
  double zone;
};

// In order: the name (empty, then containing the file's separator | as a character of
// the ANSI code page), degrees, minutes and seconds, the zone (a number, then -12 to 14),
// and last no minutes or seconds beyond 180 degrees. The zone is read in the user's
// decimal character.
void CheckLocationTexts(const LocationTexts &texts, LocationCheck *result);
