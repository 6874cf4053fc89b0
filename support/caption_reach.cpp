// The rule for a window's caption bar being within the user's reach. Portable.
#include "support/caption_reach.h"

namespace {

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }

// A size at 96 DPI, at `dpi`, to the nearest pixel. A DPI no screen has counts as 96, which
// also keeps the product within an int.
int AtDpi(int pixels, int dpi) {
  if (dpi <= 0 || dpi > 4800) dpi = 96;
  return (pixels * dpi + 48) / 96;
}

}  // namespace

bool CaptionReachable(int x, int y, int width, const CaptionMetrics &metrics,
                      const PlainRect *workAreas, int count) {
  // No screen reaches this far either way; and the sums and differences below stay within
  // an int, however far left or up a stored place lies.
  constexpr int kFarAway = 1 << 24;
  if (x > kFarAway || y > kFarAway || width > kFarAway) return false;
  if (x < -kFarAway || y < -kFarAway) return false;
  const PlainRect caption = {x + metrics.frameX, y + metrics.frameY, x + width - metrics.frameX,
                             y + metrics.frameY + metrics.captionHeight};
  const int grabWidth = AtDpi(kGrabWidth, metrics.dpi);
  const int grabHeight = AtDpi(kGrabHeight, metrics.dpi);
  if (caption.right - caption.left < grabWidth) return false;
  for (int i = 0; i < count; ++i) {
    const PlainRect &work = workAreas[i];
    const int across = Min(caption.right, work.right) - Max(caption.left, work.left);
    const int down = Min(caption.bottom, work.bottom) - Max(caption.top, work.top);
    if (across >= grabWidth && down >= grabHeight) return true;
  }
  return false;
}
