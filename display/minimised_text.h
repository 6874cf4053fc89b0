// What a minimised clock shows in its caption, from the clock's text, and the time scale's
// abbreviation that both captions end with. Portable.
#pragma once

// Cuts a clock text ("hh:mm:ss", or "hh:mm:ss AM" for the twelve-hour clock) in place to what
// the minimised clock shows: "hh:mm", or "hh:mm AM". The buffer must be zeroed past the text.
void CutToMinimisedText(char *text, bool twelveHour);

// The minimised caption: the cut text, a space and the time's abbreviation.
void FormatMinimisedCaption(const char *text, const char *abbreviation, char *caption, int size);

// The string id of the abbreviation of TimeKind `kind` ("LMT", "UT", "LST", "GST"); with
// apparent sidereal time on, the sidereal scales say so ("LAST", "GAST"), since a mount
// reports apparent time and a user comparing the two must know which one the clock shows.
int ScaleAbbreviationText(int kind, bool apparent);
