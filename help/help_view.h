// The help window's text view, a child window class of its own: it draws the page itself from
// the portable layout, in fonts it makes for its DPI, scrolls it, and lets Tab, Enter and the
// mouse reach its links; what the reader asks of it goes to its parent as WM_NOTIFY. Win32;
// for help/ only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "help/help_text.h"

extern const char kHelpViewClass[];
// Registers the view's class, once for the process; the parent makes it as a WS_CHILD.
void RegisterHelpViewClass(HINSTANCE instance);

// The DPI of `window`, or of the screen where the system cannot tell.
int HelpWindowDpi(HWND window);

// What the view tells its parent, as the code of a WM_NOTIFY carrying a HelpViewNotice: the
// reader followed a link (by click or Enter), or asked for the page before (the mouse's back
// button). The page shown changes only when the parent shows another.
enum : UINT { kHelpViewFollowLink = 1, kHelpViewGoBack = 2 };
struct HelpViewNotice {
  NMHDR header;
  const char *target;  // kHelpViewFollowLink: the link's target (not NUL-terminated), in the page
  int targetLength;
};

// Sent to the view: its fonts, and the page's layout, follow a new DPI (wParam). WM_GETFONT
// answers its prose font, which the parent gives its own controls.
constexpr UINT kHelpViewSetDpi = WM_USER + 1;

// Shows a page from its left edge, scrolled down to `scrollY`. The texts and the document
// stay the caller's, and must live until the next page or ClearHelpView.
void ShowHelpViewPage(HWND view, const char *title, const char *body, const HelpDocument *document,
                      int scrollY);
// Forgets the page and its layout.
void ClearHelpView(HWND view);
// How far down the reader has scrolled the page.
int HelpViewScrollY(HWND view);
// Follows the link the reader chose with Tab, as Enter would; false when none is chosen.
bool FollowFocusedHelpLink(HWND view);

// The page shown, for those who cannot see it: its title ("" when none) in `title`, and its
// text as laid out in `text` (as `HelpLayoutPlainText` gives it: at most size - 1 characters
// and a NUL). Returns the length of the whole text.
std::size_t HelpViewPageText(HWND view, const char **title, char *text, std::size_t size);
