// The correction's state and schedule, and civil time moved by an offset. Portable.
#include "support/time_correction.h"

TimeCorrection g_timeCorrection = {};

namespace {

constexpr std::int64_t kTicksPerMs = 10000;
constexpr std::int64_t kMsPerDay = 86400 * 1000;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, CivilTime *t) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  t->day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t->month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t->year = static_cast<int>(yoe + era * 400 + (t->month <= 2 ? 1 : 0));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

void SetCorrectionOn(TimeCorrection *c, bool on, std::int64_t now) {
  if (c->on == on) return;  // chosen again (the dialog's box): the offset stays
  c->on = on;
  c->haveOffset = false;  // on: nothing measured yet; off: forgotten
  c->offset = 0;
  c->nextDue = now;
}

void RecordMeasurement(TimeCorrection *c, bool good, std::int64_t offset, std::int64_t now) {
  if (good) {
    c->haveOffset = true;
    c->offset = offset;
    c->measuredAt = now;
  }
  c->nextDue = now + kCorrectionHourMs;
}

void DropCorrection(TimeCorrection *c, std::int64_t now) {
  c->haveOffset = false;
  c->offset = 0;
  c->nextDue = now;
}

void MeasureSoon(TimeCorrection *c, std::int64_t now) { c->nextDue = now; }

bool ExpireCorrection(TimeCorrection *c, std::int64_t now) {
  if (!c->haveOffset || now - c->measuredAt <= kCorrectionLifetimeMs) return false;
  c->haveOffset = false;
  c->offset = 0;
  return true;
}

bool MeasurementDue(const TimeCorrection &c, std::int64_t now) { return c.on && now >= c.nextDue; }

bool CorrectionInForce(const TimeCorrection &c) { return c.on && c.haveOffset; }

std::int64_t CorrectionOffset(const TimeCorrection &c) {
  return CorrectionInForce(c) ? c.offset : 0;
}

void ShiftCivilTime(CivilTime *t, std::int64_t ticks) {
  const std::int64_t shiftMs = FloorDiv(ticks, kTicksPerMs);
  if (shiftMs == 0) return;
  const std::int64_t dayMs =
      ((t->hour * 60LL + t->minute) * 60 + t->second) * 1000 + t->millisecond;
  const std::int64_t total = DaysFromCivil(t->year, t->month, t->day) * kMsPerDay + dayMs + shiftMs;
  const std::int64_t days = FloorDiv(total, kMsPerDay);
  std::int64_t rest = total - days * kMsPerDay;
  CivilFromDays(days, t);
  t->millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t->second = static_cast<int>(rest % 60);
  rest /= 60;
  t->minute = static_cast<int>(rest % 60);
  t->hour = static_cast<int>(rest / 60);
}
