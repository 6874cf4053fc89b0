// When to try again a file operation that another program's open handle refused (a sync
// client, a virus scanner or an editor holding ZORKEL.DAT for a moment). Portable: the
// platform says what kind of refusal it met; this decides whether and how long to wait.
#pragma once

// How long a held file is waited for at most, and the sleep between two tries: enough for
// the usual moment's hold, short enough that the clock is never stopped for long.
constexpr int kHeldFileWaitMs = 1000;
constexpr int kHeldFileSleepMs = 50;

enum class FileRefusal {
  kOther,         // anything a wait cannot mend: not found, disk full, bad name
  kHeld,          // a sharing or lock violation: another handle has the file
  kAccessDenied,  // a read-only file or folder, or a file held while it is being deleted
};

// The sleep in milliseconds before the next try, or -1 to give up. `fixed` says that the
// file or its folder is protected for good (read-only, a directory), which makes an access
// refusal final; `waitedMs` is the time slept so far in this operation.
int HeldFileRetryDelay(FileRefusal refusal, bool fixed, int waitedMs);
