// The id of the main window's one-second clock timer, shared by the window that arms it, the
// fatal-error path that stops it and the tests that look at it. Portable (no Windows types).
#pragma once

constexpr unsigned kClockTimerId = 1;
