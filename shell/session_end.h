// Closing the clock, by the user or at the end of the Windows session, asked about at most
// once and never twice at the same time. Win32.
#pragma once

#include <windows.h>

// A close (WM_CLOSE, or WM_ENDSESSION without a question before it): offers to save a
// changed city table unless this session end has offered it already. False when a close is
// under way or done (its question may still be up): the caller then does nothing more.
bool BeginClose(HWND window);

// WM_QUERYENDSESSION: the save is offered now, while Windows waits for the answer, not at
// WM_ENDSESSION, after which the process may be ended at any moment. TRUE lets the session
// end whatever the answer; FALSE only while the exit question of an earlier close is up.
LRESULT AnswerQueryEndSession(HWND window);

// WM_ENDSESSION with wParam 0: the session goes on, and the next close asks as usual.
void SessionEndCancelled();

// A new process's state: nothing closing, nothing offered.
void ResetSessionEnd();
