// The clock face: font cache, centred opaque text, minimised caption. Win32.
#include "display/clock_face.h"

#include "display/clock_face_probe.h"
#include "display/minimised_text.h"

#include <cstdio>
#include <cstring>

#include "astro/apparent.h"
#include "astro/clock_reading.h"
#include "display/chimes.h"
#include "display/clock_text.h"
#include "display/correction_mark.h"
#include "display/night_palette.h"
#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"
#include "support/win32_hooks.h"

namespace {

HFONT g_clockFont = nullptr;
char g_lastClockText[kTextSize] = "";
int g_lastClockKind = 0;
int g_fontsMade = 0;
LOGFONTA g_lastFontDescription = {};
bool g_night = false;

}  // namespace

void UpdateClockFace(HDC dc, int kind, Location location, int forceCaption) {
  DrawClockReading(dc, kind, ReadClock(kind, location), forceCaption);
}

void DrawClockReading(HDC dc, int kind, double hours, int forceCaption) {
  HWND window = MainWindowHandle();
  RECT client = {0, 0, 0, 0};
  GetClientRect(window, &client);

  char text[kTextSize] = {};  // zeroed: the minimised cut reads past a short text's end
  // A sidereal reading carries the computer's milliseconds: rounded, its second would turn
  // up to half a second before the sky's does.
  const bool sidereal = kind == kLst || kind == kGst;
  const int minute = sidereal ? FormatClockTextCut(hours, text) : FormatClockText(hours, text);
  if (kind == kLmt12) MakeTwelveHourText(text);

  DetectHourlyChime(text, g_lastClockText, minute);

  if (IsIconic(window)) {
    CutToMinimisedText(text, kind == kLmt12);
    if (forceCaption != 0 || std::strcmp(text, g_lastClockText) != 0) {
      char abbreviation[kTextSize];
      char marked[kTextSize];
      char caption[kTextSize];
      ScaleAbbreviation(kind, abbreviation);
      MarkCorrectedScale(abbreviation, true, marked, sizeof marked);
      FormatMinimisedCaption(text, marked, caption, sizeof caption);
      SetWindowTextA(window, caption);
    }
  } else {
    if (g_clockFont == nullptr) {
      LOGFONTA description = {};
      const unsigned width = static_cast<unsigned>(client.right - client.left);
      description.lfWidth = static_cast<LONG>(width / static_cast<unsigned>(std::strlen(text) + 2));
      description.lfHeight = 2 * description.lfWidth;  // positive: a cell height
      description.lfPitchAndFamily = FIXED_PITCH | FF_DONTCARE;
      g_clockFont = CreateFontIndirectA(&description);
      FAIL_IF(g_clockFont == nullptr, IDS_CANNOT_LOAD_FONT);
      g_lastFontDescription = description;
      ++g_fontsMade;
    }
    HGDIOBJ previous = SelectObject(dc, g_clockFont);
    SetTextColor(dc, g_night ? kNightInk : GetSysColor(COLOR_WINDOWTEXT));
    // The opaque background covers the previous second's text: no erase is needed.
    SetBkColor(dc, g_night ? kNightPaper : GetSysColor(COLOR_WINDOW));
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previous);
  }
  std::snprintf(g_lastClockText, sizeof g_lastClockText, "%s", text);
  g_lastClockKind = kind;
}

void ScaleAbbreviation(int kind, char *text) {
  LoadText(ScaleAbbreviationText(kind, ApparentSiderealTime()), text);
}

void SetNormalCaption(int kind, const char *productName) {
  char abbreviation[kTextSize];
  char marked[kTextSize];
  char caption[kTextSize];
  ScaleAbbreviation(kind, abbreviation);
  MarkCorrectedScale(abbreviation, false, marked, sizeof marked);
  std::snprintf(caption, sizeof caption, "%s (%s)", productName, marked);
  SetWindowTextA(MainWindowHandle(), caption);
}

void ReleaseClockFont() {
  if (g_clockFont != nullptr) {
    FAIL_IF(!DeleteObject(g_clockFont), IDS_GDI_ERROR);
    g_clockFont = nullptr;
  }
}

void SetNightColours(bool on) { g_night = on; }
bool NightColours() { return g_night; }

bool EraseClockFace(HDC dc) {
  if (!g_night) return false;
  RECT client = {0, 0, 0, 0};
  GetClientRect(MainWindowHandle(), &client);
  static_assert(kNightPaper == RGB(0, 0, 0), "the stock black brush is the night paper");
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  return true;
}

void ResetClockFace() {
  g_night = false;
  if (g_clockFont != nullptr) DeleteObject(g_clockFont);
  g_clockFont = nullptr;
  // The whole text: the chime test compares single characters past the first.
  std::memset(g_lastClockText, 0, sizeof g_lastClockText);
  g_lastClockKind = 0;
  g_fontsMade = 0;
  g_lastFontDescription = LOGFONTA{};
}

const char *ShownClockText(int *kind) {
  *kind = g_lastClockKind;
  return g_lastClockText;
}

const char *LastClockText() { return g_lastClockText; }
HFONT CurrentClockFont() { return g_clockFont; }
int ClockFontsMade() { return g_fontsMade; }
LOGFONTA LastClockFontDescription() { return g_lastFontDescription; }
