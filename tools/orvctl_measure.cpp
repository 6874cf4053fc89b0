// orvctl's measurements of a running clock: how soon a started clock shows its window and
// text (time-to-paint), and how late its shown seconds change against the computer's clock
// (tick-lag, against the computer's clock or a time server's), both read from the screen's pixels. Win32 (runs under Wine in the tests).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "astro/apparent.h"
#include "astro/sidereal.h"
#include "shell/tick_timing.h"
#include "tools/orvctl.h"

namespace {


double MillisecondsSince(const LARGE_INTEGER &start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

// True when the middle row of the window's client area, as the screen shows it, holds a
// dark pixel: the clock's text has been drawn.
bool ShowsText(HWND w) {
  RECT client;
  GetClientRect(w, &client);
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  const int width = client.right;
  if (width <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void *bits = nullptr;
  HBITMAP row = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, row);
  BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y + client.bottom / 2, SRCCOPY);
  bool dark = false;
  const unsigned char *p = static_cast<const unsigned char *>(bits);
  for (int x = 0; x < width && !dark; ++x) dark = p[4 * x] + p[4 * x + 1] + p[4 * x + 2] < 192;
  SelectObject(memory, old);
  DeleteObject(row);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return dark;
}

}  // namespace

int TimeToPaint(const char *exe) {
  char folder[MAX_PATH];
  std::snprintf(folder, sizeof folder, "%s", exe);
  char *slash = std::strrchr(folder, '\\');
  if (slash != nullptr) *slash = '\0';
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  char commandLine[MAX_PATH + 2];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", exe);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                      slash != nullptr ? folder : nullptr, &startup, &process)) {
    return Fail("cannot start the program");
  }
  double shown = -1;
  double painted = -1;
  HWND w = nullptr;
  while (MillisecondsSince(start) < 30000 && painted < 0) {
    if (w == nullptr) {
      w = FindClock();
      if (w != nullptr && !IsWindowVisible(w)) w = nullptr;
      if (w != nullptr) shown = MillisecondsSince(start);
    }
    if (w != nullptr && ShowsText(w)) painted = MillisecondsSince(start);
    if (painted < 0) Sleep(1);
  }
  if (w != nullptr) PostMessageA(w, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 20000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (painted < 0) return Fail("no clock text appeared");
  std::printf("window %.0f ms, text %.0f ms\n", shown, painted);
  return 0;
}

namespace {

// ---- tick-lag ----

// Seconds added to the computer's clock to give the time the clock should follow: a time
// server's, when the clock corrects its shown time by one.
double g_referenceOffset = 0.0;

// The reference clock (the computer's, plus g_referenceOffset) in seconds since 1601, to the
// microsecond where Windows has it.
double ComputerSeconds() {
  using Precise = void(WINAPI *)(FILETIME *);
  static const Precise precise = reinterpret_cast<Precise>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME ft;
  if (precise != nullptr) {
    precise(&ft);
  } else {
    GetSystemTimeAsFileTime(&ft);
  }
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<double>(ticks) / 1e7 + g_referenceOffset;
}

// A rectangle of the screen as it is shown now, as a grid of dark (text) and light pixels.
class ScreenGrab {
 public:
  ScreenGrab(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(memory_, bitmap_);
  }
  ~ScreenGrab() {
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  void Take(int x, int y) {
    BitBlt(memory_, 0, 0, width_, height_, screen_, x, y, SRCCOPY);
    GdiFlush();
  }
  bool Dark(int x, int y) const {
    const unsigned char *p = static_cast<const unsigned char *>(bits_) + 4 * (y * width_ + x);
    return p[0] + p[1] + p[2] < 384;
  }
  std::uint64_t Hash() const {  // of the dark/light pattern
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) h = (h ^ (Dark(x, y) ? 1u : 0u)) * 1099511628211ull;
    }
    return h;
  }

 private:
  int width_, height_;
  HDC screen_, memory_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void *bits_ = nullptr;
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[rank == 0 ? 0 : rank - 1];
}

// Where the text is in the client area: every dark pixel over two seconds, so that all its
// digits are seen. False when there is none.
struct TextBox {
  int left, right, top, bottom;
};

bool FindTextBox(POINT origin, int width, int height, TextBox *box) {
  int left = width, right = -1, top = height, bottom = -1;
  ScreenGrab whole(width, height);
  for (double until = ComputerSeconds() + 2.2; ComputerSeconds() < until; Sleep(50)) {
    whole.Take(origin.x, origin.y);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!whole.Dark(x, y)) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  *box = TextBox{left, right, top, bottom};
  return right >= 0;
}

// Which seconds the clock is showing: the computer's (LMT, UT), or sidereal time by the
// clock's own formulas, at a longitude (degrees, east positive; 0 for GST), mean or
// apparent, with a DUT1 in milliseconds.
struct ShownScale {
  bool sidereal;
  double longitudeEast;
  bool apparent;
  int dut1Ms;
};

struct Change {
  double at;  // the computer's clock when the new pattern was seen
  std::uint64_t pattern;
};

// The seconds of `scale` at the computer's UTC `at` (seconds since 1601), as the clock works
// them out for a city whose zone is the computer's: the computer's own seconds, or sidereal
// seconds of the day.
double ScaleSeconds(const ShownScale &scale, double at) {
  if (!scale.sidereal) return at;
  const double days = std::floor(at / 86400.0);
  const double day = 2305813.5 + days;  // 1601 January 1, 0h UTC, as a Julian day
  const double fraction = (at - days * 86400.0) / 86400.0;
  const double gst = GreenwichSiderealAt(day, fraction, scale.dut1Ms, scale.apparent);
  Location place = {};
  place.hemisphere = scale.longitudeEast < 0 ? kWest : kEast;
  place.longitude = std::fabs(scale.longitudeEast);
  return (scale.longitudeEast == 0.0 ? gst : LocalSiderealTime(gst, place)) * 3600.0;
}

// Reads the digit at (x, y) of the screen every few ms for `seconds`: the first pattern and
// each change, and the times between samples. Returns how long it watched.
double WatchDigit(ScreenGrab *digit, int x, int y, double seconds, std::vector<Change> *changes,
                  std::vector<double> *periods) {
  std::uint64_t last = 0;
  double previous = 0.0;
  const double start = ComputerSeconds();
  for (;;) {
    digit->Take(x, y);
    const double now = ComputerSeconds();  // the change was on the screen by now
    const std::uint64_t pattern = digit->Hash();
    if (changes->empty() || pattern != last) changes->push_back({now, pattern});
    last = pattern;
    if (previous > 0.0) periods->push_back(now - previous);
    previous = now;
    if (now - start >= seconds) break;
    Sleep(2);
  }
  return previous - start;
}

// Which digit each pattern shows, learnt from the scale's seconds at the changes, then each
// change's lag (in the computer's milliseconds) and the seconds skipped or shown twice,
// printed in one line.
void ReportLags(const std::vector<Change> &changes, const std::vector<double> &periods,
                double watched, const ShownScale &scale) {
  const double length = scale.sidereal ? kSiderealSecondInSolarSeconds : 1.0;
  std::vector<double> at(changes.size());
  for (std::size_t i = 0; i < changes.size(); ++i) at[i] = ScaleSeconds(scale, changes[i].at);
  std::map<std::uint64_t, int[10]> votes;
  for (std::size_t i = 1; i < changes.size(); ++i) {
    const auto whole = static_cast<long long>(std::floor(at[i]));
    ++votes[changes[i].pattern][whole % 10];
  }
  auto digitOf = [&votes](std::uint64_t pattern) {
    auto found = votes.find(pattern);
    if (found == votes.end()) return -1;
    return static_cast<int>(std::max_element(found->second, found->second + 10) - found->second);
  };
  std::vector<double> lags;
  int skipped = 0, doubled = 0, unread = 0;
  for (std::size_t i = 1; i < changes.size(); ++i) {
    const int shown = digitOf(changes[i].pattern);
    const int before = digitOf(changes[i - 1].pattern);
    if (shown < 0 || (i > 1 && before < 0)) {
      ++unread;
      continue;
    }
    // The latest moment at or before the change when the scale's seconds ended in `shown`.
    const auto whole = static_cast<long long>(std::floor(at[i]));
    const double since = at[i] - static_cast<double>(whole - ((whole % 10 - shown + 10) % 10));
    if (i == 1) continue;  // the first change ends a second watched only in part
    lags.push_back(since * length * 1000.0);
    const int step = (shown - before + 10) % 10;
    if (step > 1) skipped += step - 1;
    if (step == 1 && changes[i].at - changes[i - 1].at > 1.5 * length) ++doubled;
  }
  std::printf("changes %u in %.1f s, sampled every %.1f ms (median); lag median %.1f ms, "
              "p99 %.1f ms, worst %.1f ms; skipped %d, doubled %d, unread %d\n",
              static_cast<unsigned>(lags.size()), watched, Percentile(periods, 0.5) * 1000.0,
              Percentile(lags, 0.5), Percentile(lags, 0.99), Percentile(lags, 1.0), skipped,
              doubled, unread);
}

// tick-lag's SCALE, LONGITUDE and DUT1; false for a scale it does not know.
bool ReadShownScale(int argc, char **argv, ShownScale *shown) {
  ShownScale scale = {false, 0.0, false, 0};
  if (argc > 3) {
    const char *name = argv[3];
    scale.sidereal = std::strcmp(name, "solar") != 0;
    scale.apparent = std::strcmp(name, "gast") == 0 || std::strcmp(name, "last") == 0;
    const bool local = std::strcmp(name, "lst") == 0 || std::strcmp(name, "last") == 0;
    if (scale.sidereal && !local && !scale.apparent && std::strcmp(name, "gst") != 0) {
      return false;
    }
    if (local && argc > 4) scale.longitudeEast = std::atof(argv[4]);
    if (argc > 5) scale.dut1Ms = std::atoi(argv[5]);
  }
  *shown = scale;
  return true;
}

}  // namespace

// The clock shows hh:mm:ss in a fixed-pitch font: the last eighth of the text is the units
// digit of the seconds. Its pixel pattern changes exactly when the shown second does; which
// digit each pattern is, is learnt from the computer's clock at the changes (a vote, so the
// rare change seen just across a second of the computer's own does not mislead it).
int TickLag(int argc, char **argv, HWND w) {
  // A number in the place of the scale: the solar second of a clock that many seconds ahead
  // of the computer's (a time server's, which the clock may follow).
  char *end = nullptr;
  const double offset = argc > 3 ? std::strtod(argv[3], &end) : 0.0;
  if (argc > 3 && end != argv[3] && *end == '\0') {
    g_referenceOffset = offset;
    argc = 3;
  }
  ShownScale scale;
  if (!ReadShownScale(argc, argv, &scale)) {
    return Fail("tick-lag: the scale is solar, gst, lst, gast or last");
  }
  const double seconds = std::atof(argv[2]);
  RECT client;
  GetClientRect(w, &client);
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return Fail("the clock's window has no client area");
  TextBox text;
  if (!FindTextBox(origin, width, height, &text)) return Fail("no clock text on the screen");
  const int cell = (text.right - text.left + 1) / 8;
  const int digitLeft = text.right + 1 - cell * 9 / 10;
  ScreenGrab digit(text.right + 1 - digitLeft, text.bottom + 1 - text.top);
  std::vector<Change> changes;
  std::vector<double> periods;
  const double watched =
      WatchDigit(&digit, origin.x + digitLeft, origin.y + text.top, seconds, &changes, &periods);
  ReportLags(changes, periods, watched, scale);
  return 0;
}
