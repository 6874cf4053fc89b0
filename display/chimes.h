// The hourly chimes: armed from the clock text at minute 00 of a new hour, sounded one beep
// per tick. Portable: the beep goes through the platform hook.
#pragma once

enum ChimeMode : int { kChimeNone = 0, kChimeSingle = 1, kChimeMultiple = 2 };

int GetChimeMode();
void SetChimeMode(int mode);

// Arms the pending chime count when `text` is the first text of minute 00 of a new hour
// (`last` is the text of the update before; `minute` the minutes the text shows).
void DetectHourlyChime(const char *text, const char *last, int minute);

// One tick's share of a pending chime: at most one beep.
void SoundPendingChime();

// One default beep.
void ChimeBeep();

// Sets the beeps still to sound: 0 silences a chime under way.
void SetPendingChimeCount(int count);
