// The words of a check against a time server, in the user's punctuation. Portable.
#include "display/sntp_text.h"

#include <cstdio>
#include <cstring>

#include "display/clock_text.h"
#include "display/intl.h"
#include "display/sntp_text_probe.h"
#include "resources/resource_ids.h"

// Each status but the good one has its text, all within the ids kept for these words.
static_assert(IDS_SNTP_STATUS_BASE + kSntpStatusCount - 1 <= 339, "too many statuses");

namespace {

// An offset within this is right for pointing a telescope by the clock's sidereal time.
constexpr long long kRightForPointing = kTicksPerSecond / 10;

// Sidereal seconds that pass in one second of ordinary time: a clock wrong by one second
// shows sidereal time wrong by this much.
constexpr double kSiderealPerSolar = 1.00273790935;

// Far beyond any clock's error (36,000 years), and safe to round without overflow.
constexpr long long kLongestSpan = 1LL << 60;

long long Magnitude(long long ticks) {
  if (ticks < -kLongestSpan || ticks > kLongestSpan) return kLongestSpan;
  return ticks < 0 ? -ticks : ticks;
}

// Rounds a non-negative count of ticks to the nearest unit.
long long RoundTo(long long ticks, long long unit) { return (ticks + unit / 2) / unit; }

// A string-table text with the texts in place of its %s markers.
void Fill(int id, const char *const *texts, int count, char *out, std::size_t size) {
  char format[kTextSize];
  LoadText(id, format);
  FillInTexts(format, texts, count, out, size);
}

void FillOne(int id, const char *text, char *out, std::size_t size) { Fill(id, &text, 1, out, size); }

// `units` hundredths (or tenths, by `decimals`) of a second, a second or more, as a decimal
// number in the user's punctuation.
void FormatFixed(long long units, int decimals, char *out, std::size_t size) {
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  char point = IntlDecimalChar(0);
  if (point == '\0') point = '.';
  if (decimals == 0) {
    std::snprintf(out, size, "%lld", units);
  } else {
    std::snprintf(out, size, "%lld%c%0*lld", units / scale, point, decimals, units % scale);
  }
}

void FormatWhole(long long value, char *out, std::size_t size) {
  std::snprintf(out, size, "%lld", value);
}

}  // namespace

void FormatSpan(long long ticks, int decimals, char *out, std::size_t size) {
  ticks = Magnitude(ticks);  // the sign is the words'
  if (decimals < 0) decimals = 0;
  if (decimals > 3) decimals = 3;
  char a[32];
  char b[32];
  const char *ab[] = {a, b};
  const long long milliseconds = RoundTo(ticks, kTicksPerSecond / 1000);
  if (milliseconds < 1000) {
    FormatWhole(milliseconds, a, sizeof a);
    return Fill(IDS_SNTP_MILLISECONDS, ab, 1, out, size);
  }
  long long unit = kTicksPerSecond;
  for (int i = 0; i < decimals; ++i) unit /= 10;
  const long long fixed = RoundTo(ticks, unit);
  if (fixed < 60 * (kTicksPerSecond / unit)) {
    FormatFixed(fixed, decimals, a, sizeof a);
    return Fill(IDS_SNTP_SECONDS, ab, 1, out, size);
  }
  const long long seconds = RoundTo(ticks, kTicksPerSecond);
  if (seconds < 3600) {
    FormatWhole(seconds / 60, a, sizeof a);
    FormatWhole(seconds % 60, b, sizeof b);
    return Fill(IDS_SNTP_MINUTES_SECONDS, ab, 2, out, size);
  }
  const long long minutes = RoundTo(ticks, 60 * kTicksPerSecond);
  if (minutes < 48 * 60) {
    FormatWhole(minutes / 60, a, sizeof a);
    FormatWhole(minutes % 60, b, sizeof b);
    return Fill(IDS_SNTP_HOURS_MINUTES, ab, 2, out, size);
  }
  FormatWhole(RoundTo(ticks, 86400 * kTicksPerSecond), a, sizeof a);
  Fill(IDS_SNTP_DAYS, ab, 1, out, size);
}

void ComposeSntpLines(const SntpResult &result, const char *server, const CivilTime &measuredLocal,
                      SntpLines *lines) {
  std::memset(lines, 0, sizeof *lines);
  if (result.status != kSntpGood) {
    const int status = result.status > kSntpGood && result.status < kSntpStatusCount
                           ? result.status : kSntpNoAnswer;
    const char *texts[] = {server, result.kissCode};
    return Fill(IDS_SNTP_STATUS_BASE + status, texts, 2, lines->verdict, sizeof lines->verdict);
  }

  // The offset is the server's time less the computer's: positive, the computer is behind.
  const long long offset = result.offset;
  const long long magnitude = Magnitude(offset);
  char span[96];
  FormatSpan(magnitude, 2, span, sizeof span);
  const char *offsetTexts[] = {span, server};
  if (RoundTo(magnitude, kTicksPerSecond / 1000) == 0) {
    FillOne(IDS_SNTP_AGREES, server, lines->verdict, sizeof lines->verdict);
  } else {
    Fill(offset > 0 ? IDS_SNTP_BEHIND : IDS_SNTP_AHEAD, offsetTexts, 2, lines->verdict,
         sizeof lines->verdict);
  }

  FormatSpan(result.delay / 2, 2, span, sizeof span);
  FillOne(IDS_SNTP_UNCERTAINTY, span, lines->uncertainty, sizeof lines->uncertainty);

  char stratum[16];
  FormatWhole(result.stratum, stratum, sizeof stratum);
  const char *serverTexts[] = {stratum, result.reference};
  Fill(IDS_SNTP_SERVER, serverTexts, 2, lines->server, sizeof lines->server);

  char clock[kTextSize];
  FormatClockText(measuredLocal.hour + measuredLocal.minute / 60.0 + measuredLocal.second / 3600.0,
                  clock);
  FillOne(IDS_SNTP_MEASURED, clock[0] == ' ' ? clock + 1 : clock, lines->measured,
          sizeof lines->measured);

  if (magnitude <= kRightForPointing) {
    LoadText(IDS_SNTP_RIGHT_FOR_POINTING, lines->meaning);
    return;
  }
  // Behind, the sky shown is the sky of a moment ago: sidereal time shows late.
  FormatSpan(static_cast<long long>(static_cast<double>(magnitude) * kSiderealPerSolar), 1, span,
             sizeof span);
  FillOne(offset > 0 ? IDS_SNTP_LST_LATE : IDS_SNTP_LST_EARLY, span, lines->meaning,
          sizeof lines->meaning);
  LoadText(IDS_SNTP_HOW_TO_SET, lines->advice);
}
