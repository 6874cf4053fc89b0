// How a stored setting's text becomes a number. Portable.
#pragma once

// The value of `text` when every character is a decimal digit and it fits an int;
// otherwise (empty, a sign, a blank, a letter, too many digits) `defaultValue`.
int ParseSettingInt(const char *text, int defaultValue);
