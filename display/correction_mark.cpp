// The caption's mark of a corrected time. Portable.
#include "display/correction_mark.h"

#include <cstdio>

#include "resources/resource_ids.h"
#include "support/hooks.h"
#include "support/time_correction.h"

void MarkCorrectedScale(const char *abbreviation, bool minimised, char *out, std::size_t size) {
  if (!CorrectionInForce(g_timeCorrection)) {
    std::snprintf(out, size, "%s", abbreviation);
    return;
  }
  char format[kTextSize];
  LoadText(minimised ? IDS_CORRECTED_MINIMISED : IDS_CORRECTED_SCALE, format);
  FillInTexts(format, &abbreviation, 1, out, size);
}
