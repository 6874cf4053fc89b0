// What a screen reader is told about a window whose text the program draws itself: a small
// accessible object for the client area whose name and value are read on request. Win32.
#pragma once

#include <windows.h>

#include <cstddef>

enum WindowAccessPart { kAccessName, kAccessValue };

// Writes the name or value `window` shows now into `out` (at most `size` bytes, always
// ended) and returns its whole length, as snprintf does; 0 leaves the answer to the system's
// (the caption, say); -1 when the window no longer shows anything (it is closing or gone).
using WindowAccessReader = int (*)(HWND window, int part, char *out, std::size_t size);

// WM_GETOBJECT: the client area's object, answering through `read`; every other object,
// and a system without accessibility, the default window procedure's answer.
LRESULT AnswerWindowAccess(HWND window, WPARAM wParam, LPARAM lParam, WindowAccessReader read);
