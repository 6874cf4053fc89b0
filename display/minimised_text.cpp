// The minimised clock's caption text. Portable.
#include "display/minimised_text.h"

#include <cstdio>
#include <cstring>

#include "astro/clock_reading.h"
#include "resources/resource_ids.h"

void CutToMinimisedText(char *text, bool twelveHour) {
  if (twelveHour) {
    // "hh:mm AM": the designator moves up behind the minutes.
    text[5] = ' ';
    std::memmove(text + 6, text + 9, std::strlen(text + 9) + 1);
  } else {
    text[5] = '\0';  // "hh:mm"
  }
}

void FormatMinimisedCaption(const char *text, const char *abbreviation, char *caption, int size) {
  std::snprintf(caption, static_cast<std::size_t>(size), "%s %s", text, abbreviation);
}

int ScaleAbbreviationText(int kind, bool apparent) {
  if (apparent && kind == kLst) return IDS_ABBREV_LAST;
  if (apparent && kind == kGst) return IDS_ABBREV_GAST;
  return IDS_ABBREV_BASE + kind;
}
