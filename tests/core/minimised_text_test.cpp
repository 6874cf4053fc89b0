// The minimised clock's caption text. Portable.
#include <gtest/gtest.h>

#include "display/minimised_text.h"

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

}  // namespace
