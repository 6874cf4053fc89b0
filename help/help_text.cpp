// Parsing the help file into topics, keywords and blocks of text. Portable. Everything here
// is linear in the size of the file, so that a large or hostile help file never stops the
// clock for long.
#include "help/help_text.h"

#include <cstdlib>
#include <cstring>

#include "help/grow_array.h"
#include "help/help_buffer.h"

using namespace help_buffer;

namespace {

// Where a topic's texts and a keyword start in the storage, which may move as it grows.
struct TopicOffsets {
  std::size_t id, title, body;
};

struct KeywordOffsets {
  std::size_t text;
  int topic;
};

enum OpenBlock { kNone, kOpenParagraph, kOpenBullet };

struct BodyState {
  OpenBlock open;
  bool gapPending;  // a blank line is owed before the next block
  bool anyBlock;
};

void CloseBlock(Buffer *b, BodyState *s) {
  if (s->open == kNone) return;
  if (LastChar(b) == ' ') --b->used;
  AppendChar(b, '\n');
  s->open = kNone;
}

void StartBlock(Buffer *b, BodyState *s, char kind) {
  CloseBlock(b, s);
  if (s->gapPending) {
    AppendChar(b, kHelpGap);
    AppendChar(b, '\n');
  }
  s->gapPending = false;
  s->anyBlock = true;
  AppendChar(b, kind);
}

// Appends the text of [p, end), turning [[target|text]] and [[target]] into links; prose
// collapses blanks, columns keep them. Of several "[[" before one "]]" only the last opens a
// link. `close` and `lastOpen` are found once per "]]", so that a line of brackets costs
// no more than one pass.
void AppendInline(Buffer *b, const char *p, const char *end, bool prose) {
  const char *close = nullptr;     // the next "]]" at or after p, or end when none
  const char *lastOpen = nullptr;  // the last "[[" before it
  while (p < end) {
    if (end - p >= 2 && p[0] == '[' && p[1] == '[') {
      if (close == nullptr || (close != end && close < p + 2)) {
        lastOpen = p;
        const char *q = p + 2;
        for (; q + 1 < end && !(q[0] == ']' && q[1] == ']'); ++q) {
          if (q[0] == '[' && q[1] == '[') lastOpen = q;
        }
        close = q + 1 < end ? q : end;
      }
      if (close != end && p == lastOpen) {
        const char *inner = p + 2;
        const char *bar = static_cast<const char *>(
            std::memchr(inner, '|', static_cast<std::size_t>(close - inner)));
        const char *tb = inner;
        const char *te = bar != nullptr ? bar : close;
        Trim(&tb, &te);
        if (tb < te) {
          AppendChar(b, kHelpLinkStart);
          AppendCollapsed(b, tb, te, false);
          AppendChar(b, kHelpLinkText);
          if (bar != nullptr) {
            const char *sb = bar + 1;
            const char *se = close;
            Trim(&sb, &se);
            if (prose) {
              AppendCollapsed(b, sb, se, false);
            } else {
              for (const char *q = sb; q < se; ++q) AppendChar(b, Clean(*q));
            }
          }
          AppendChar(b, kHelpLinkEnd);
          p = close + 2;
          continue;
        }
      }
    }
    const char c = Clean(*p++);
    if (prose && c == ' ' && (LastChar(b) == ' ' || b->used == 0)) continue;
    AppendChar(b, c);
  }
}

void AddBodyLine(Buffer *b, BodyState *s, const char *begin, const char *end) {
  const char *tb = begin;
  const char *te = end;
  Trim(&tb, &te);
  if (tb == te) {  // a blank line ends the block; several count as one
    CloseBlock(b, s);
    if (s->anyBlock) s->gapPending = true;
    return;
  }
  if (end - begin >= 2 && begin[0] == '-' && begin[1] == ' ') {
    StartBlock(b, s, kHelpBullet);
    const char *rest = tb + 1;  // the text after "- "
    while (rest < te && IsBlank(*rest)) ++rest;
    AppendInline(b, rest, te, true);
    s->open = kOpenBullet;
    return;
  }
  if (IsBlank(begin[0])) {
    if (s->open == kOpenBullet) {  // an indented line carries the bullet on
      AppendChar(b, ' ');
      AppendInline(b, tb, te, true);
      return;
    }
    StartBlock(b, s, kHelpColumns);
    const char *cb = begin;
    for (int i = 0; i < 2 && cb < te && IsBlank(*cb); ++i) ++cb;  // the two blanks that mark it
    AppendInline(b, cb, te, false);
    AppendChar(b, '\n');
    return;
  }
  if (s->open == kOpenParagraph) {
    AppendChar(b, ' ');
  } else {
    StartBlock(b, s, kHelpParagraph);
    s->open = kOpenParagraph;
  }
  AppendInline(b, tb, te, true);
}

bool StartsWithIgnoringCase(const char *begin, const char *end, const char *prefix) {
  for (; *prefix != '\0'; ++prefix, ++begin) {
    if (begin >= end || LowerAscii(*begin) != *prefix) return false;
  }
  return true;
}

// The state of one parse: the text made so far, and where each topic and keyword starts in it.
struct Parser {
  Buffer storage;
  TopicOffsets *topics;
  int count, capacity;
  KeywordOffsets *keywords;
  int keywordCount, keywordCapacity;
  BodyState body;
  bool headerJustRead;  // the line before was a topic's "== " line
};

// The next line of the text from `*start`: [*begin, *end) without its line end, and cut at
// a NUL byte; `*start` moves past it.
void NextLine(const char *text, std::size_t length, std::size_t *start, const char **begin,
              const char **end) {
  *begin = text + *start;
  const void *newline = std::memchr(*begin, '\n', length - *start);
  *end = newline != nullptr ? static_cast<const char *>(newline) : text + length;
  *start = static_cast<std::size_t>(*end - text) + 1;
  const void *nul = std::memchr(*begin, '\0', static_cast<std::size_t>(*end - *begin));
  if (nul != nullptr) *end = static_cast<const char *>(nul);
  if (*end > *begin && (*end)[-1] == '\r') --*end;
}

// A "== id | title" line: ends the topic before and opens a new one. False when memory ran
// out.
bool ReadTopicHeader(Parser *p, const char *begin, const char *end) {
  if (p->count > 0) {
    CloseBlock(&p->storage, &p->body);
    AppendChar(&p->storage, '\0');  // ends the body of the topic before
  }
  if (!GrowArray(&p->topics, &p->capacity, p->count)) return false;
  const char *bar = static_cast<const char *>(std::memchr(begin, '|', static_cast<std::size_t>(end - begin)));
  const char *ib = begin + 3;
  const char *ie = bar != nullptr ? bar : end;
  Trim(&ib, &ie);
  TopicOffsets &t = p->topics[p->count++];
  t.id = p->storage.used;
  AppendCollapsed(&p->storage, ib, ie, true);
  AppendChar(&p->storage, '\0');
  t.title = p->storage.used;
  const char *tb = bar != nullptr ? bar + 1 : ib;
  const char *te = bar != nullptr ? end : ie;
  Trim(&tb, &te);
  AppendCollapsed(&p->storage, tb, te, false);
  AppendChar(&p->storage, '\0');
  t.body = p->storage.used;
  p->body = BodyState{kNone, false, false};
  p->headerJustRead = true;
  return true;
}

// The "keywords:" line right after a header: its keywords, separated by ';', belong to the
// topic just opened. False when memory ran out.
bool ReadKeywordLine(Parser *p, const char *begin, const char *end) {
  bool grown = true;
  for (const char *k = begin + 9; k < end;) {
    const char *stop = static_cast<const char *>(std::memchr(k, ';', static_cast<std::size_t>(end - k)));
    if (stop == nullptr) stop = end;
    const char *kb = k;
    const char *ke = stop;
    Trim(&kb, &ke);
    if (kb < ke) {
      if (!GrowArray(&p->keywords, &p->keywordCapacity, p->keywordCount)) {
        grown = false;
        break;
      }
      p->keywords[p->keywordCount++] = KeywordOffsets{p->storage.used, p->count - 1};
      AppendCollapsed(&p->storage, kb, ke, false);
      AppendChar(&p->storage, '\0');
    }
    k = stop + 1;
  }
  p->topics[p->count - 1].body = p->storage.used;  // nothing of the body has been written yet
  return grown;
}

// The document from a whole parse: the topics and keywords as pointers into the storage,
// and the hash tables of ids and keywords. Takes the storage; frees the offsets. False
// (everything freed) when memory ran out here or before (`failed`).
bool MakeDocument(Parser *p, bool failed, HelpDocument *document) {
  const int count = p->count;
  const int keywordCount = p->keywordCount;
  const char *storage = p->storage.data;
  HelpDocument d = {nullptr, count, nullptr, keywordCount, p->storage.data, nullptr, nullptr, 0};
  if (!failed && !p->storage.failed) {
    std::size_t size = 16;
    while (size < 2 * static_cast<std::size_t>(count + keywordCount)) size *= 2;
    d.tableSize = size;
    d.idTable = static_cast<int *>(std::malloc(size * sizeof(int)));
    d.keywordTable = static_cast<int *>(std::malloc(size * sizeof(int)));
    d.topics = static_cast<HelpTopic *>(std::malloc(static_cast<std::size_t>(count + 1) * sizeof(HelpTopic)));
    d.keywords = static_cast<HelpKeyword *>(std::malloc(static_cast<std::size_t>(keywordCount + 1) * sizeof(HelpKeyword)));
    failed = d.idTable == nullptr || d.keywordTable == nullptr || d.topics == nullptr ||
             d.keywords == nullptr;
  }
  if (failed || p->storage.failed) {
    std::free(p->topics);
    std::free(p->keywords);
    FreeHelpDocument(&d);
    return false;
  }
  for (std::size_t i = 0; i < d.tableSize; ++i) d.idTable[i] = d.keywordTable[i] = -1;
  for (int i = 0; i < count; ++i) {
    const TopicOffsets &t = p->topics[i];
    d.topics[i] = HelpTopic{storage + t.id, storage + t.title, storage + t.body};
    const char *id = d.topics[i].id;
    const char *idEnd = id + std::strlen(id);
    if (FindHelpTopicById(d, id) < 0) InsertName(d.idTable, d.tableSize, HashName(id, idEnd), i);
  }
  for (int i = 0; i < keywordCount; ++i) {
    d.keywords[i] = HelpKeyword{storage + p->keywords[i].text, p->keywords[i].topic};
    const char *k = d.keywords[i].text;
    if (FindHelpTopicByKeyword(d, k) < 0) {
      InsertName(d.keywordTable, d.tableSize, HashName(k, k + std::strlen(k)), i);
    }
  }
  std::free(p->topics);
  std::free(p->keywords);
  *document = d;
  return true;
}

}  // namespace

bool ParseHelpText(const char *text, std::size_t length, HelpDocument *document) {
  *document = HelpDocument{nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, 0};
  Parser p = {{nullptr, 0, 0, false}, nullptr, 0, 0, nullptr, 0, 0, {kNone, false, false}, false};
  bool failed = false;
  std::size_t start = 0;
  while (start < length && !failed) {
    const char *begin;
    const char *end;
    NextLine(text, length, &start, &begin, &end);
    if (end > begin && begin[0] == ';') continue;
    if (end - begin >= 3 && std::memcmp(begin, "== ", 3) == 0) {
      failed = !ReadTopicHeader(&p, begin, end);
      continue;
    }
    if (p.count == 0) continue;  // text before the first topic belongs to none
    if (p.headerJustRead && StartsWithIgnoringCase(begin, end, "keywords:")) {
      failed = !ReadKeywordLine(&p, begin, end);
      continue;
    }
    p.headerJustRead = false;
    AddBodyLine(&p.storage, &p.body, begin, end);
  }
  if (p.count > 0) {
    CloseBlock(&p.storage, &p.body);
    AppendChar(&p.storage, '\0');
  }
  return MakeDocument(&p, failed, document);
}

void FreeHelpDocument(HelpDocument *document) {
  std::free(document->topics);
  std::free(document->keywords);
  std::free(document->storage);
  std::free(document->idTable);
  std::free(document->keywordTable);
  *document = HelpDocument{nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, 0};
}
