// The words of a check of the computer's clock against a time server: how far off it is, how
// sure, which server, when, and what it means for the sky shown. Portable: the texts come
// from the string table, the decimal character from the user's punctuation.
#pragma once

#include <cstddef>

#include "support/hooks.h"
#include "support/sntp.h"

// Each line holds the longest host name with its words.
constexpr std::size_t kSntpLineSize = 400;

// The dialog's lines. After a failure only `verdict` says something; the rest are empty.
// `advice` names Windows' "Time & language": its static control wants SS_NOPREFIX.
struct SntpLines {
  char verdict[kSntpLineSize];      // "This computer's clock is 2.34 s behind time.windows.com"
  char uncertainty[kSntpLineSize];  // half the round trip
  char server[kSntpLineSize];       // stratum and reference
  char measured[kSntpLineSize];     // when, on the computer's local clock
  char meaning[kSntpLineSize];      // "LST shown 2.3 s late", or right for pointing
  char advice[kSntpLineSize];       // how to set Windows' clock right; empty when it is
};

// Composes the lines for `result`, measured with `server` (the setting's text) at
// `measuredLocal` on the computer's local clock.
void ComposeSntpLines(const SntpResult &result, const char *server, const CivilTime &measuredLocal,
                      SntpLines *lines);
