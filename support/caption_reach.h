// Whether enough of a window's caption bar lies on a monitor's work area for the user to grab
// it, from plain numbers: the window's place, the frame metrics and the work areas. Portable.
#pragma once

struct PlainRect {
  int left, top, right, bottom;
};

// The system metrics that put the caption bar inside a sizable window.
struct CaptionMetrics {
  int frameX;         // sizing frame plus padded border, across
  int frameY;         // sizing frame plus padded border, down
  int captionHeight;  // the caption bar's height
  int dpi;            // the scale they are at; the grab area grows with it (0: 96)
};

// How much of the caption bar, in pixels across and down at 96 DPI, must lie on one monitor's
// work area for the user to grab the window and drag it back.
constexpr int kGrabWidth = 64;
constexpr int kGrabHeight = 16;

// Whether at least kGrabWidth x kGrabHeight pixels (scaled to the metrics' DPI) of the caption
// bar of a window at (x, y), `width` wide, lie on one of the `count` work areas. Places too
// far out for any screen, on either side, are refused before any sum could overflow.
bool CaptionReachable(int x, int y, int width, const CaptionMetrics &metrics,
                      const PlainRect *workAreas, int count);
