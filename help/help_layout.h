// Laying out a help page for a window of a given width: the title as a heading, prose that
// wraps at the width (bullets hang-indented), column blocks kept as written in a fixed-pitch
// font, and the places of the links. Portable: the window measures its fonts and draws the
// runs. Linear in the size of the page.
#pragma once

#include <cstddef>

#include "help/help_text.h"

enum HelpStyle { kHelpProseStyle = 0, kHelpHeadingStyle = 1, kHelpFixedStyle = 2, kHelpStyleCount = 3 };

// One font as the layout sees it: the advance of each character (Windows-1252) and the
// height of a line.
struct HelpFontMetrics {
  int widths[256];
  int lineHeight;
};

struct HelpLayoutMetrics {
  HelpFontMetrics fonts[kHelpStyleCount];
  int margin;  // around the page
  int indent;  // of a bullet's text from the bullet
};

// A piece of text drawn at one place in one style; `link` is -1 or the link it belongs to.
struct HelpRun {
  const char *text;
  int length;
  int x, y, width;
  int style;
  int link;
};

struct HelpLine {
  int y, height;
  int firstRun, runCount;
  int block;  // the body block it belongs to (-1: the heading)
  int style;
};

struct HelpLink {
  const char *target;
  int targetLength;
  int firstRun, runCount;  // its runs, consecutive (it may span lines)
};

struct HelpLayout {
  HelpRun *runs;
  int runCount, runCapacity;
  HelpLine *lines;
  int lineCount, lineCapacity;
  HelpLink *links;
  int linkCount, linkCapacity;
  int width, height;  // of the whole page, margins included
  bool failed;
};

// The bullet drawn before a bullet block: one character of Windows-1252.
extern const char kHelpBulletText[];

// Lays out a page `title` + `body` (blocks as in help_text.h) for `width` pixels. `document`
// (may be null) gives the titles of links written without text. False when memory ran out.
bool LayOutHelpPage(const char *title, const char *body, const HelpDocument *document,
                    const HelpLayoutMetrics &metrics, int width, HelpLayout *layout);
void FreeHelpLayout(HelpLayout *layout);

// The page's text as shown, for a screen reader: every block on a line of its own (an empty
// line where the page leaves a gap), its wrapped lines joined again by a blank, links by the
// text they show; the heading is left out (it is the page's name). As snprintf: at most
// `size` bytes written, always ended, and the length of the whole text returned.
std::size_t HelpLayoutPlainText(const HelpLayout &layout, char *out, std::size_t size);

// The first line that reaches below y (lineCount when none); for painting from there.
int HelpLineAt(const HelpLayout &layout, int y);
// The link under the point, or -1.
int HelpLinkAt(const HelpLayout &layout, int x, int y);
