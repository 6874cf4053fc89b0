// The help window's text view and its fonts: the program draws the page itself from the
// portable layout, scrolls it, and lets Tab, Enter and the mouse reach its links. Win32;
// for help/ only: the frame sets the page, the view draws it.
#pragma once

#include <windows.h>

#include "help/help_layout.h"
#include "help/help_text.h"

extern const char kHelpViewClass[];

// What the view shows and how: the frame sets the page, the view lays it out at its width.
struct HelpViewState {
  HWND view;
  int dpi;
  HFONT fonts[kHelpStyleCount];
  HFONT linkFonts[kHelpStyleCount];
  HelpLayoutMetrics *metrics;  // while the window is open (from the heap, like the history)
  const char *title;
  const char *body;
  const HelpDocument *document;  // the file the page's links lead into; null when none
  HelpLayout layout;
  int layoutWidth;
  int scrollX, scrollY;
  int focusedLink;
  int pressedLink;
};
extern HelpViewState g_helpView;

int ScaleForHelp(int pixels);  // at the view's DPI
// The DPI of `window`, or of the screen where the system cannot tell.
int HelpWindowDpi(HWND window);
// Fonts for the view's DPI, measured into its metrics; the prose font is also the buttons'.
void MakeHelpFonts(HWND window);
void DeleteHelpFonts();
HFONT HelpUiFont();

// Shows a page from its top-left corner, scrolled down to `scrollY`.
void ShowHelpViewPage(const char *title, const char *body, const HelpDocument *document, int scrollY);
// Lays the page out again when the view's width has changed (or always, with `force`).
void RelayoutHelpView(bool force);
// Forgets the page and its layout.
void ClearHelpView();

LRESULT CALLBACK HelpViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// The frame's, called by the view: follow link `link` of the page shown; go back one page.
void FollowHelpLink(int link);
void GoBackInHelpWindow();
