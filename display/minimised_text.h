// What a minimised clock shows in its caption, from the clock's text. Portable.
#pragma once

// Cuts a clock text ("hh:mm:ss", or "hh:mm:ss AM" for the twelve-hour clock) in place to what
// the minimised clock shows: "hh:mm", or "hh:mm AM". The buffer must be zeroed past the text.
void CutToMinimisedText(char *text, bool twelveHour);

// The minimised caption: the cut text, a space and the time's abbreviation.
void FormatMinimisedCaption(const char *text, const char *abbreviation, char *caption, int size);
