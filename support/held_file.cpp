// When to try a refused file operation again. Portable.
#include "support/held_file.h"

int HeldFileRetryDelay(FileRefusal refusal, bool fixed, int waitedMs) {
  if (refusal == FileRefusal::kOther) return -1;
  if (refusal == FileRefusal::kAccessDenied && fixed) return -1;
  if (waitedMs < 0 || waitedMs >= kHeldFileWaitMs) return -1;
  const int left = kHeldFileWaitMs - waitedMs;
  return left < kHeldFileSleepMs ? left : kHeldFileSleepMs;
}
