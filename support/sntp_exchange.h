// One question to a time server, asked without ever waiting: the name looked up and the
// reply read through messages posted to a window, three tries of 3 s each. Win32 (Winsock).
#pragma once

#include <windows.h>

#include "support/sntp.h"

// The exchange uses `message` (the result) and the two ids after it (the name lookup and
// the socket), and timer kSntpTimerId of `window`.
constexpr UINT_PTR kSntpTimerId = 0x534E;

// Starts asking the server the setting `serverText` names; a question under way is dropped.
// The result comes as `message` posted to `window`, wParam its SntpStatus; read it with
// LastSntpResult. A setting that cannot be read, or a server that sent a kiss-of-death,
// gives its result at once (posted all the same).
void StartSntpExchange(HWND window, const char *serverText, UINT message);

// Drops the question under way: nothing is posted for it.
void CancelSntpExchange();

// Hand every message of the window here first; true when it was the exchange's own.
bool HandleSntpExchangeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether a question is under way (anyone's: the exchange holds one at a time).
bool SntpExchangeBusy();

// The last result posted.
const SntpResult &LastSntpResult();

// This computer's UTC in 100 ns since 1601, as precise as the system gives it
// (GetSystemTimePreciseAsFileTime where Windows has it).
std::int64_t ReadPreciseSystemTime();
