// The system's menu font and menu sizes at a given DPI. Older Windows has no functions
// taking a DPI: there the sign-in scale's values are scaled by hand. Win32.
#include "shell/menu_metrics.h"

#include "support/system_library.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI *)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT);

// Only on Windows 10 1607 and later: looked up when needed, so that the clock still starts
// on older systems.
template <typename Fn>
Fn Lookup(const char *name) {
  return SystemCall<Fn>("user32.dll", name);
}

// The DPI the old calls answer for: the one the user signed in with.
int SignInDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int ScaledFromSignIn(int index, int dpi) {
  return MulDiv(GetSystemMetrics(index), dpi, SignInDpi());
}

int MetricAtDpi(int index, int dpi) {
  if (auto forDpi = Lookup<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi")) {
    const int value = forDpi(index, static_cast<UINT>(dpi));
    if (value > 0) return value;
  }
  return ScaledFromSignIn(index, dpi);
}

LOGFONTW MenuFontAtDpi(int dpi) {
  // The call for a DPI has only a wide form, so the font is asked for by its wide name.
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  auto forDpi = Lookup<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  if (forDpi != nullptr &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return metrics.lfMenuFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMenuFont.lfHeight = MulDiv(metrics.lfMenuFont.lfHeight, dpi, SignInDpi());
  return metrics.lfMenuFont;
}

}  // namespace

int MenuWindowDpi(HWND window) {
  if (auto forWindow = Lookup<GetDpiForWindowFn>("GetDpiForWindow")) {
    const UINT dpi = window != nullptr ? forWindow(window) : 0;
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SignInDpi();
}

void MakeMenuMetrics(int dpi, MenuMetrics *metrics) {
  FreeMenuMetrics(metrics);
  if (dpi <= 0) dpi = SignInDpi();
  metrics->dpi = dpi;
  const LOGFONTW font = MenuFontAtDpi(dpi);
  metrics->font = CreateFontIndirectW(&font);
  metrics->barHeight = MetricAtDpi(SM_CYMENU, dpi);
  metrics->checkWidth = MetricAtDpi(SM_CXMENUCHECK, dpi);
  // An edge above and below the text, as the system's items have. Not every system's call
  // for a DPI scales the edges, so the sign-in scale's are scaled here.
  metrics->padding = 2 * ScaledFromSignIn(SM_CYEDGE, dpi);
}

void FreeMenuMetrics(MenuMetrics *metrics) {
  if (metrics->font != nullptr) DeleteObject(metrics->font);
  *metrics = MenuMetrics{};
}
