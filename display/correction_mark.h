// The scale's abbreviation as a caption shows it, marked while a time server corrects the
// shown time. Portable.
#pragma once

#include <cstddef>

// Writes `abbreviation` into `out` (`size` bytes): as it is, or while the correction is in
// force marked ("UT, corrected"; minimised, where room is short, "UT*").
void MarkCorrectedScale(const char *abbreviation, bool minimised, char *out, std::size_t size);
