// The minimised clock's caption text. Portable.
#include <gtest/gtest.h>

#include "astro/clock_reading.h"
#include "display/minimised_text.h"
#include "resources/resource_ids.h"

namespace {

TEST(MinimisedText, CutsToHoursAndMinutesAndAddsTheAbbreviation) {
  struct Case {
    const char *text;
    bool twelveHour;
    const char *caption;
  } cases[] = {
      {"23:59:59", false, "23:59 UT"},
      {"00:00:00", false, "00:00 UT"},
      {"12:34:56 AM", true, "12:34 AM UT"},
      {"01:02:03 PM", true, "01:02 PM UT"},
  };
  for (const Case &c : cases) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%s", c.text);
    CutToMinimisedText(text, c.twelveHour);
    char caption[32];
    FormatMinimisedCaption(text, "UT", caption, sizeof caption);
    EXPECT_STREQ(caption, c.caption) << c.text;
  }
  char small[8];
  FormatMinimisedCaption("12:34 AM", "UT", small, sizeof small);
  EXPECT_STREQ(small, "12:34 A");  // bounded by the buffer
}

TEST(MinimisedText, OnlyTheSiderealScalesSayApparent) {
  const struct {
    int kind;
    bool apparent;
    int text;
  } rows[] = {{kLmt12, true, IDS_ABBREV_BASE},     {kUt, true, IDS_ABBREV_BASE + kUt},
              {kLst, false, IDS_ABBREV_BASE + kLst}, {kLst, true, IDS_ABBREV_LAST},
              {kGst, false, IDS_ABBREV_BASE + kGst}, {kGst, true, IDS_ABBREV_GAST}};
  for (const auto &r : rows) EXPECT_EQ(ScaleAbbreviationText(r.kind, r.apparent), r.text) << r.kind;
}

}  // namespace
