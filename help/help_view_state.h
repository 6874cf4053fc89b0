// The record each help text view keeps for itself, from its creation to its destruction:
// for the view's own files (help_view*.cpp) only. Win32.
#pragma once

#include <windows.h>

#include "help/help_layout.h"
#include "help/help_text.h"

struct HelpViewState {
  int dpi;
  HFONT fonts[kHelpStyleCount];
  HFONT linkFonts[kHelpStyleCount];
  HelpLayoutMetrics metrics;  // of the fonts above
  const char *title;          // the page, owned by the parent, shown until it sets another
  const char *body;
  const HelpDocument *document;  // the file the page's links lead into; null when none
  HelpLayout layout;
  int layoutWidth;
  int scrollX, scrollY;
  int focusedLink;
  int pressedLink;
};

// The view's record; null before its creation has begun and after it has ended.
inline HelpViewState *HelpViewStateOf(HWND view) {
  return reinterpret_cast<HelpViewState *>(GetWindowLongPtrA(view, GWLP_USERDATA));
}

// Draws the part `area` of the page, scrolled as the record says.
void PaintHelpView(HWND view, const HelpViewState &v, HDC dc, const RECT &area);
// Sets the bars to the page and the view's size, keeping the scroll within the page.
void UpdateHelpViewScrollBars(HWND view, HelpViewState &v);
void ScrollHelpViewTo(HWND view, HelpViewState &v, int x, int y);
// Where a WM_VSCROLL or WM_HSCROLL (`wParam`) of bar `bar` takes the scroll from `position`.
int HelpScrollPosition(HWND view, int bar, WPARAM wParam, int position, int line, int page, int limit);
