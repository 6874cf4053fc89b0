// Drawing the clock: the text centred in a fixed-pitch font sized to the window, or the
// hours and minutes in the caption while the window is minimised. Win32.
#pragma once

#include <windows.h>

#include "location/location.h"

// One update of the face, on every paint (forceCaption 1) and every tick (0).
void UpdateClockFace(HDC dc, int kind, Location location, int forceCaption);

// The same from a reading already taken: `hours` of TimeKind `kind`, as ReadClock gave it.
// The tick draws the reading its next tick was worked out from. The sidereal scales show the
// second the reading is in, so that their seconds turn with the sky's.
void DrawClockReading(HDC dc, int kind, double hours, int forceCaption);

// The abbreviation of the scale shown, as both captions and a screen reader give it ("LST",
// or "LAST" while apparent sidereal time is on). `text` holds kTextSize characters.
void ScaleAbbreviation(int kind, char *text);

// "Orvane 2 (LST)": the caption of the window when it is not minimised.
void SetNormalCaption(int kind, const char *productName);

// Night Colours: dark red figures on black, which keep an observer's eyes adapted to the
// dark; off at start.
void SetNightColours(bool on);
bool NightColours();
// Fills the client area black while Night Colours are on (true); false leaves the erase to
// the window class's brush.
bool EraseClockFace(HDC dc);

// The text the face shows now (the minimised hours and minutes while minimised; "" before
// the first update) and, in `kind`, the time scale it was drawn for: what a screen reader
// reads out.
const char *ShownClockText(int *kind);

// Deletes the clock font, if there is one, so that the next update makes one to fit.
void ReleaseClockFont();

// Back to how a new process starts: Night Colours off, no font, no last clock text.
void ResetClockFace();
