// How a stored setting's text becomes a number. Portable.
#pragma once

// The value of `text` when every character is a decimal digit and it fits an int;
// otherwise (empty, a sign, a blank, a letter, too many digits) `defaultValue`.
int ParseSettingInt(const char *text, int defaultValue);

// A screen coordinate: as ParseSettingInt, but with an optional leading minus, since a
// window on a monitor left of or above the main one, or one flush with the screen's left
// edge (its invisible resize border lies past it), stands at a negative place. "-" alone,
// two minus signs or a plus sign give `defaultValue`.
int ParseSettingCoordinate(const char *text, int defaultValue);
