// What the help text view shows: the page drawn with the advances the layout measured, the
// scroll bars set to it, and its words for whatever reads them out. Win32; for the view only.
#include <cstddef>

#include "display/night_paint.h"
#include "help/help_probe.h"
#include "help/help_view.h"
#include "help/help_view_state.h"

namespace {

// Draws a run with the advances the layout measured, so that text, links and the places
// the mouse finds them always agree (the font may place glyphs a fraction apart).
void DrawRun(HDC dc, const int *widths, const HelpRun &run, int x, int y) {
  INT advances[256];
  for (int done = 0; done < run.length;) {
    const int n = run.length - done < 256 ? run.length - done : 256;
    int width = 0;
    for (int i = 0; i < n; ++i) {
      advances[i] = widths[static_cast<unsigned char>(run.text[done + i])];
      width += advances[i];
    }
    ExtTextOutA(dc, x, y, 0, nullptr, run.text + done, static_cast<UINT>(n), advances);
    x += width;
    done += n;
  }
}

}  // namespace

void PaintHelpView(HWND view, const HelpViewState &v, HDC dc, const RECT &area) {
  FillRect(dc, &area, ShownBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, v.fonts[kHelpProseStyle]);
  const COLORREF text = ShownColour(COLOR_WINDOWTEXT);
  // The system's link colour, so that a high-contrast scheme shows links as it means to.
  const COLORREF link = ShownColour(COLOR_HOTLIGHT);
  const bool focused = GetFocus() == view;
  for (int i = HelpLineAt(v.layout, v.scrollY + area.top); i < v.layout.lineCount; ++i) {
    const HelpLine &line = v.layout.lines[i];
    if (line.y - v.scrollY >= area.bottom) break;
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      const HelpRun &run = v.layout.runs[r];
      const HelpFontMetrics &font = v.metrics.fonts[run.style];
      SelectObject(dc, run.link >= 0 ? v.linkFonts[run.style] : v.fonts[run.style]);
      SetTextColor(dc, run.link >= 0 ? link : text);
      const int y = run.y - v.scrollY + line.height - font.lineHeight;
      DrawRun(dc, font.widths, run, run.x - v.scrollX, y);
      if (focused && run.link >= 0 && run.link == v.focusedLink) {
        RECT box = {run.x - v.scrollX - 1, y, run.x - v.scrollX + run.width + 1, y + font.lineHeight};
        DrawShownFocusRect(dc, &box);
      }
    }
  }
  SelectObject(dc, oldFont);
}

void UpdateHelpViewScrollBars(HWND view, HelpViewState &v) {
  RECT client;
  GetClientRect(view, &client);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  const int maxY = v.layout.height - client.bottom;
  if (v.scrollY > maxY) v.scrollY = maxY;
  if (v.scrollY < 0) v.scrollY = 0;
  info.nMax = v.layout.height > 0 ? v.layout.height - 1 : 0;
  info.nPage = static_cast<UINT>(client.bottom > 0 ? client.bottom : 0);
  info.nPos = v.scrollY;
  SetScrollInfo(view, SB_VERT, &info, TRUE);
  const int maxX = v.layout.width - client.right;
  if (v.scrollX > maxX) v.scrollX = maxX;
  if (v.scrollX < 0) v.scrollX = 0;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = v.layout.width > client.right ? v.layout.width - 1 : 0;
  info.nPage = static_cast<UINT>(client.right > 0 ? client.right : 0);
  info.nPos = v.scrollX;
  SetScrollInfo(view, SB_HORZ, &info, TRUE);
}

void ScrollHelpViewTo(HWND view, HelpViewState &v, int x, int y) {
  v.scrollX = x;
  v.scrollY = y;
  UpdateHelpViewScrollBars(view, v);
  InvalidateRect(view, nullptr, TRUE);
}

int HelpScrollPosition(HWND view, int bar, WPARAM wParam, int position, int line, int page, int limit) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: return position - line;
    case SB_LINEDOWN: return position + line;
    case SB_PAGEUP: return position - page;
    case SB_PAGEDOWN: return position + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return limit;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(view, bar, &info);
      return info.nTrackPos;
    }
    default: return position;
  }
}

int HelpViewScrollY(HWND view) {
  const HelpViewState *v = HelpViewStateOf(view);
  return v != nullptr ? v->scrollY : 0;
}

const HelpLayout *HelpViewLayout(HWND view) {
  const HelpViewState *v = HelpViewStateOf(view);
  return v != nullptr ? &v->layout : nullptr;
}
const HelpLayoutMetrics *HelpViewMetrics(HWND view) {
  const HelpViewState *v = HelpViewStateOf(view);
  return v != nullptr ? &v->metrics : nullptr;
}
int HelpViewFocusedLink(HWND view) {
  const HelpViewState *v = HelpViewStateOf(view);
  return v != nullptr ? v->focusedLink : -1;
}

std::size_t HelpViewPageText(HWND view, const char **title, char *text, std::size_t size) {
  const HelpViewState *v = HelpViewStateOf(view);
  *title = v != nullptr && v->title != nullptr ? v->title : "";
  if (v != nullptr) return HelpLayoutPlainText(v->layout, text, size);
  if (size > 0) text[0] = '\0';
  return 0;
}
