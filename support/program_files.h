// The program's own files, which always lie beside ZORKEL.EXE, and the busy cursor. Win32:
// paths are wide, so that a folder named outside the ANSI code page works too.
#pragma once

#include <cstdio>

// Room for any path BuildProgramPath makes (1023 characters and the terminator, and one spare).
constexpr int kPathSize = 1025;

// The full path of `name` (an ANSI file name from the string table) in the executable's
// directory. An executable path without a backslash, or a result of 1024 characters or
// more, is fatal.
void BuildProgramPath(const char *name, wchar_t *out);

// Runs `attempt` (which returns false with the system's last error set) and tries again
// for about a second while another program's handle holds the file at `path`. False, with
// the last error of the last try, when it never succeeded.
bool RetryWhileHeld(bool (*attempt)(void *context), void *context, const wchar_t *path);

// The hourglass for a long operation: on, then off; not nested.
void SetBusyCursor(int on);
