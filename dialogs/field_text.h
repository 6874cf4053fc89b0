// The text of the dialog's number fields, in the user's punctuation: signed numbers with a
// fixed count of decimals, white space removal, and reading a real number. Portable.
#pragma once

#include <cstdint>

#include "support/caption_reach.h"

// One row of the whole-number fields a dialog checks: which control, the accepted range,
// the message when it is out of range, and the value once it passes.
struct IntegerFieldCheck {
  std::int32_t controlId;
  std::int32_t minimum;
  std::int32_t maximum;
  std::int32_t messageId;
  std::int32_t value;
};

// `value` with `precision` decimals, its integer part right-aligned in `width` characters,
// the user's decimal character, and a zero before it for magnitudes below 1 only when the
// user wants one ("-0.50" or "-.50"). `out` holds 81 characters.
void FormatSignedNumber(double value, int width, int precision, char *out);

// Deletes every white-space character, in place.
void RemoveWhiteSpace(char *s);

// Reads a real number from a field's text (at most 79 characters are looked at), taking
// every occurrence of the user's decimal character as the decimal point, in single
// precision. Decimal digits only (no hex, "inf" or "nan"), and the number must end the text
// or be followed by white space ("5.5 hours" reads, "0x" and "5abc" do not). False when no
// such number can be read or it is not finite; `value` is then kept.
bool ReadRealText(const char *text, double *value);

// Reads a whole number: blanks, an optional sign, decimal digits, blanks, and nothing else
// ("104.98", "1e3" and "5abc" are not whole numbers), within an int. False otherwise, and
// `value` is then kept.
bool ReadWholeNumberText(const char *text, std::int32_t *value);

// Where a window of the given outer rectangle goes to sit centred on `area` (the work area
// of a monitor, which may lie left of or above the main one), kept inside it where it fits
// and with its top-left corner inside it where it does not.
void CenteredPosition(const PlainRect &area, const PlainRect &window, int *x, int *y);
