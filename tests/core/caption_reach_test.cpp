// The rule for a stored window place leaving enough caption bar to grab. Portable.
#include <gtest/gtest.h>

#include "support/caption_reach.h"

namespace {

// A 1024 x 768 monitor with a 28-pixel taskbar along its foot, and a frame like Windows 10's.
constexpr PlainRect kWork = {0, 0, 1024, 740};
constexpr CaptionMetrics kMetrics = {8, 8, 23, 96};

TEST(CaptionReach, NeedsEnoughCaptionOnOneWorkArea) {
  const PlainRect left = {-1280, 0, 0, 1024};
  const PlainRect twoMonitors[] = {left, kWork};
  const PlainRect kFar = {1024, 768, 2048, 1508};  // right of and below the main monitor
  struct Case {
    int x, y, width;
    const PlainRect *areas;
    int count;
    bool reachable;
  } cases[] = {
      {100, 80, 500, &kWork, 1, true},
      {kWork.right - 1, kWork.bottom - 1, 500, &kWork, 1, false},
      {kWork.right - 4, 100, 500, &kWork, 1, false},
      {kWork.right - 40, 100, 500, &kWork, 1, false},
      {kWork.right - 71, 100, 500, &kWork, 1, false},  // 63 pixels across
      {kWork.right - 72, 100, 500, &kWork, 1, true},   // 64 across
      {100, kWork.bottom - 8, 500, &kWork, 1, false},
      {100, kWork.bottom - 23, 500, &kWork, 1, false},  // 15 down
      {100, kWork.bottom - 24, 500, &kWork, 1, true},   // 16 down
      {kWork.right - 120, kWork.bottom - 60, 500, &kWork, 1, true},
      {-520, 100, 500, &kWork, 1, false},  // beside the work area, on no monitor
      {100, 80, 79, &kWork, 1, false},     // a caption 63 pixels wide
      {100, 80, 80, &kWork, 1, true},
      {5000, 4000, 500, &kWork, 1, false},
      {(1 << 24) + 1, 0, 500, &kWork, 1, false},  // refused before sums overflow
      {0, (1 << 24) + 1, 500, &kWork, 1, false},
      {0, 0, (1 << 24) + 1, &kWork, 1, false},
      {100, 80, 500, nullptr, 0, false},  // no monitors
      {-600, 100, 500, twoMonitors, 2, true},
      // 40 pixels on each of two monitors: neither has enough to grab.
      {-48, 100, 96, twoMonitors, 2, false},
      // Flush with a screen's left edge, the invisible resize frame lies left of it.
      {-7, 100, 500, &kWork, 1, true},
      {100, -7, 500, &kWork, 1, true},
      // A clock left of the main monitor: kept while that monitor is there, not after.
      {-1287, 100, 500, twoMonitors, 2, true},
      {-1287, 100, 500, &kWork, 1, false},
      {-1287, -300, 500, twoMonitors, 2, false},  // above both
      // Far out to the left or up, refused before a difference could overflow.
      {-2147483647 - 1, 800, 500, &kFar, 1, false},
      {1100, -2147483647 - 1, 500, &kFar, 1, false},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CaptionReachable(c.x, c.y, c.width, kMetrics, c.areas, c.count), c.reachable)
        << c.x << "," << c.y << " width " << c.width;
  }
  // The grab area grows with the scale as the frame does: 96 x 24 at 144 DPI, 128 x 32 at 192.
  constexpr CaptionMetrics k144 = {12, 12, 35, 144}, k192 = {16, 16, 46, 192};
  struct Scaled {
    CaptionMetrics metrics;
    int across, down;  // how much of the caption lies on the work area
    bool reachable;
  } scaled[] = {{k144, 95, 30, false},  {k144, 96, 30, true},  {k144, 300, 23, false},
                {k144, 300, 24, true},  {k192, 127, 40, false}, {k192, 128, 40, true},
                {k192, 300, 31, false}, {k192, 300, 32, true}};
  for (const Scaled &c : scaled) {
    const int x = kWork.right - c.metrics.frameX - c.across;
    const int y = kWork.bottom - c.metrics.frameY - c.down;
    EXPECT_EQ(CaptionReachable(x, y, 500, c.metrics, &kWork, 1), c.reachable)
        << c.metrics.dpi << " DPI, " << c.across << " x " << c.down;
  }
}

}  // namespace
