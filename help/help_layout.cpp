// Laying out a help page: greedy word wrapping in one pass, with a second pass over each word
// only to place it. Portable.
#include "help/help_layout.h"

#include <cstdlib>
#include <cstring>

#include "help/grow_array.h"

const char kHelpBulletText[] = "\x95";  // the bullet of Windows-1252

namespace {

// Walks the shown characters of a block: its text, with each link's shown text (or, for a
// link without text, the title it leads to) in place of its markup.
struct Cursor {
  const char *p;        // in the block text
  const char *alt;      // in a title shown for an empty link, else null
  const char *target;   // of the link being walked, else null
  int targetLength;
};

enum Event { kEnd, kChar, kLinkStart, kLinkEnd };

struct Walker {
  const HelpDocument *document;
};

// The next event; for kChar, *c points at the character.
Event Next(const Walker &w, Cursor *cur, const char **c) {
  if (cur->alt != nullptr) {
    if (*cur->alt != '\0') {
      *c = cur->alt++;
      return kChar;
    }
    cur->alt = nullptr;  // the title is done: the link ends next
  }
  const char ch = *cur->p;
  if (ch == '\0' || ch == '\n') return kEnd;
  if (ch == kHelpLinkStart) {
    const char *target = cur->p + 1;
    const char *stop = target;
    while (*stop != kHelpLinkText && *stop != '\0' && *stop != '\n') ++stop;
    if (*stop != kHelpLinkText) {  // cannot happen in a parsed body: treat as the end
      cur->p = stop;
      return kEnd;
    }
    cur->target = target;
    cur->targetLength = static_cast<int>(stop - target);
    cur->p = stop + 1;
    if (*cur->p == kHelpLinkEnd) {  // no text of its own: the title of its topic
      int topic = -1;
      if (w.document != nullptr) {
        topic = ResolveHelpLink(*w.document, target, static_cast<std::size_t>(cur->targetLength));
      }
      cur->alt = topic >= 0 && w.document->topics[topic].title[0] != '\0' ? w.document->topics[topic].title
                                                                          : nullptr;
      // Nothing to show the link by: its target stands for it (ended by kHelpLinkText).
      if (cur->alt == nullptr) cur->alt = target;
    }
    return kLinkStart;
  }
  if (ch == kHelpLinkEnd) {
    cur->p++;
    cur->target = nullptr;
    return kLinkEnd;
  }
  *c = cur->p++;
  return kChar;
}

struct Builder {
  HelpLayout *layout;
  const HelpLayoutMetrics *metrics;
  int style;
  int block;
  int y;          // top of the current line
  int lineStart;  // x where lines of the block start
  int limit;      // x where they must end
  int x;          // pen
  bool lineOpen;
  int link;       // current link index, -1 outside
};

void OpenLine(Builder *b) {
  HelpLayout *l = b->layout;
  if (!GrowArray(&l->lines, &l->lineCapacity, l->lineCount)) {
    l->failed = true;
    return;
  }
  l->lines[l->lineCount++] = HelpLine{b->y, b->metrics->fonts[b->style].lineHeight, l->runCount, 0,
                                      b->block, b->style};
  b->x = b->lineStart;
  b->lineOpen = true;
}

void CloseLine(Builder *b) {
  if (!b->lineOpen) return;
  HelpLayout *l = b->layout;
  HelpLine &line = l->lines[l->lineCount - 1];
  line.runCount = l->runCount - line.firstRun;
  b->y += line.height;
  b->lineOpen = false;
}

void Place(Builder *b, const char *c, int width) {
  HelpLayout *l = b->layout;
  if (l->failed) return;
  if (l->runCount > 0) {
    HelpRun &last = l->runs[l->runCount - 1];
    if (last.y == b->y && last.link == b->link && last.style == b->style && last.text + last.length == c &&
        last.x + last.width == b->x) {
      ++last.length;
      last.width += width;
      b->x += width;
      if (b->x > l->width) l->width = b->x;
      return;
    }
  }
  if (!GrowArray(&l->runs, &l->runCapacity, l->runCount)) {
    l->failed = true;
    return;
  }
  l->runs[l->runCount++] = HelpRun{c, 1, b->x, b->y, width, b->style, b->link};
  if (b->link >= 0 && l->links[b->link].runCount == 0) l->links[b->link].firstRun = l->runCount - 1;
  if (b->link >= 0) l->links[b->link].runCount = l->runCount - l->links[b->link].firstRun;
  b->x += width;
  if (b->x > l->width) l->width = b->x;
}

void StartLink(Builder *b, const Cursor &cur) {
  HelpLayout *l = b->layout;
  if (!GrowArray(&l->links, &l->linkCapacity, l->linkCount)) {
    l->failed = true;
    return;
  }
  l->links[l->linkCount] = HelpLink{cur.target, cur.targetLength, l->runCount, 0};
  b->link = l->linkCount++;
}

bool SameSpot(const Cursor &a, const Cursor &b) { return a.p == b.p && a.alt == b.alt; }

// A title shown for a link that has no title: its target, which ends at kHelpLinkText.
bool AtAltEnd(const Cursor &cur) { return cur.alt != nullptr && *cur.alt == kHelpLinkText; }

Event Step(const Walker &w, Cursor *cur, const char **c) {
  if (AtAltEnd(*cur)) cur->alt = nullptr;
  return Next(w, cur, c);
}

// Lays out prose (wrapped) from `cur` to the end of the block.
void LayOutProse(Builder *b, const Walker &w, Cursor cur) {
  const int *widths = b->metrics->fonts[b->style].widths;
  const int space = widths[static_cast<unsigned char>(' ')];
  OpenLine(b);
  bool lineEmpty = true;
  const char *spaceChar = nullptr;  // the blank before the next word
  for (;;) {
    // Skip to the next word, minding the link markup on the way.
    Cursor wordStart = cur;
    const char *c = nullptr;
    Event e;
    bool ended = false;
    for (;;) {
      wordStart = cur;
      e = Step(w, &cur, &c);
      if (e == kEnd) {
        ended = true;
        break;
      }
      if (e == kLinkStart) break;  // a link starts a word (its text never starts blank)
      if (e == kLinkEnd) {
        b->link = -1;
        continue;
      }
      if (*c == ' ') {
        if (spaceChar == nullptr) spaceChar = c;
        continue;
      }
      break;
    }
    if (ended || b->layout->failed) break;
    cur = wordStart;
    // Measure the word: up to a blank or the end, across link boundaries.
    int wordWidth = 0;
    Cursor scan = cur;
    Cursor wordEnd = cur;
    for (;;) {
      wordEnd = scan;
      e = Step(w, &scan, &c);
      if (e == kEnd || (e == kChar && *c == ' ')) break;
      if (e == kChar) wordWidth += widths[static_cast<unsigned char>(*c)];
    }
    if (!lineEmpty && b->x + space + wordWidth > b->limit) {
      CloseLine(b);
      OpenLine(b);
      lineEmpty = true;
    }
    if (!lineEmpty && spaceChar != nullptr) Place(b, spaceChar, space);
    spaceChar = nullptr;
    // Place it; a word wider than a whole line is broken where it must be.
    while (!SameSpot(cur, wordEnd) && !b->layout->failed) {
      e = Step(w, &cur, &c);
      if (e == kLinkStart) {
        StartLink(b, cur);
      } else if (e == kLinkEnd) {
        b->link = -1;
      } else if (e == kChar) {
        const int cw = widths[static_cast<unsigned char>(*c)];
        if (b->x + cw > b->limit && b->x > b->lineStart) {
          CloseLine(b);
          OpenLine(b);
        }
        Place(b, c, cw);
      } else {
        break;
      }
    }
    lineEmpty = false;
  }
  b->link = -1;
  CloseLine(b);
}

// A column line: every character where it is written, no wrapping.
void LayOutColumns(Builder *b, const Walker &w, Cursor cur) {
  const int *widths = b->metrics->fonts[b->style].widths;
  OpenLine(b);
  const char *c = nullptr;
  for (Event e; (e = Step(w, &cur, &c)) != kEnd && !b->layout->failed;) {
    if (e == kLinkStart) {
      StartLink(b, cur);
    } else if (e == kLinkEnd) {
      b->link = -1;
    } else {
      Place(b, c, widths[static_cast<unsigned char>(*c)]);
    }
  }
  b->link = -1;
  CloseLine(b);
}

}  // namespace

bool LayOutHelpPage(const char *title, const char *body, const HelpDocument *document,
                    const HelpLayoutMetrics &metrics, int width, HelpLayout *layout) {
  *layout = HelpLayout{};
  HelpLayout &l = *layout;
  Builder b = {};
  b.layout = layout;
  b.metrics = &metrics;
  b.y = metrics.margin;
  b.link = -1;
  const Walker w = {document};
  const int left = metrics.margin;
  const int right = width - metrics.margin;

  if (title != nullptr && title[0] != '\0') {
    b.style = kHelpHeadingStyle;
    b.block = -1;
    b.lineStart = left;
    b.limit = right;
    LayOutProse(&b, w, Cursor{title, nullptr, nullptr, 0});
    b.y += metrics.fonts[kHelpProseStyle].lineHeight / 2;
  }
  const int gap = metrics.fonts[kHelpProseStyle].lineHeight / 2;
  int block = 0;
  bool first = true;
  for (const char *p = body != nullptr ? body : ""; *p != '\0' && !l.failed; ++block) {
    const char kind = *p;
    const char *text = p + 1;
    const char *end = std::strchr(text, '\n');
    b.block = block;
    b.link = -1;
    if (kind == kHelpGap) {
      if (!first) b.y += gap;
    } else if (kind == kHelpColumns) {
      b.style = kHelpFixedStyle;
      b.lineStart = left;
      b.limit = right;
      LayOutColumns(&b, w, Cursor{text, nullptr, nullptr, 0});
      first = false;
    } else if (kind == kHelpBullet || kind == kHelpParagraph) {
      b.style = kHelpProseStyle;
      b.lineStart = left;
      b.limit = right;
      if (kind == kHelpBullet) {
        b.x = left;
        Place(&b, kHelpBulletText, metrics.fonts[kHelpProseStyle].widths[0x95]);
        b.lineStart = left + metrics.indent;
      }
      const int firstRun = l.runCount;
      LayOutProse(&b, w, Cursor{text, nullptr, nullptr, 0});
      if (kind == kHelpBullet && l.lineCount > 0 && firstRun > 0) {
        // The bullet's run belongs to the first line of its text.
        for (int i = l.lineCount - 1; i >= 0 && l.lines[i].firstRun >= firstRun; --i) {
          if (l.lines[i].firstRun == firstRun) {
            l.lines[i].firstRun = firstRun - 1;
            ++l.lines[i].runCount;
          }
        }
      }
      first = false;
    }
    if (end == nullptr) break;
    p = end + 1;
  }
  l.width += metrics.margin;  // the right edge of the widest line, and its margin
  if (l.width < width) l.width = width;
  l.height = b.y + metrics.margin;
  if (l.failed) {
    FreeHelpLayout(layout);
    layout->failed = true;
    return false;
  }
  return true;
}

void FreeHelpLayout(HelpLayout *layout) {
  std::free(layout->runs);
  std::free(layout->lines);
  std::free(layout->links);
  *layout = HelpLayout{};
}

int HelpLineAt(const HelpLayout &layout, int y) {
  int lo = 0;
  int hi = layout.lineCount;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (layout.lines[mid].y + layout.lines[mid].height <= y) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

int HelpLinkAt(const HelpLayout &layout, int x, int y) {
  const int i = HelpLineAt(layout, y);
  if (i >= layout.lineCount || layout.lines[i].y > y) return -1;
  const HelpLine &line = layout.lines[i];
  for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
    const HelpRun &run = layout.runs[r];
    if (run.link >= 0 && x >= run.x && x < run.x + run.width) return run.link;
  }
  return -1;
}

std::size_t HelpLayoutPlainText(const HelpLayout &layout, char *out, std::size_t size) {
  std::size_t n = 0;
  const auto put = [&](const char *text, int length) {
    for (int i = 0; i < length; ++i, ++n) {
      if (n + 1 < size) out[n] = text[i];
    }
  };
  int block = -1;
  for (int i = 0; i < layout.lineCount; ++i) {
    const HelpLine &line = layout.lines[i];
    if (line.block < 0) continue;  // the heading: the page's name, not its text
    // A wrapped line goes on after a blank; a block starts a line, after an empty one where
    // the page leaves a gap.
    if (block >= 0 && line.block == block) {
      put(" ", 1);
    } else if (block >= 0) {
      put("\n\n", line.block == block + 1 ? 1 : 2);
    }
    block = line.block;
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      const HelpRun &run = layout.runs[r];
      const HelpRun *before = r > line.firstRun ? &layout.runs[r - 1] : nullptr;
      if (before != nullptr && run.x > before->x + before->width) put(" ", 1);  // a bullet's indent
      put(run.text, run.length);
    }
  }
  if (size > 0) out[n < size ? n : size - 1] = '\0';
  return n;
}
