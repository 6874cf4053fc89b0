// Parsing the help file, finding topics by id and keyword, the index and the search.
// Portable. Everything here is linear in the size of the file (or of the page made), so
// that a large or hostile help file never stops the clock for long.
#include "help/help_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "help/grow_array.h"

namespace {

// A growable text; its parts are remembered as offsets, since growing may move it.
struct Buffer {
  char *data;
  std::size_t used;
  std::size_t capacity;
  bool failed;
};

bool Reserve(Buffer *b, std::size_t more) {
  if (b->failed) return false;
  if (b->used + more <= b->capacity) return true;
  std::size_t capacity = b->capacity < 256 ? 256 : b->capacity;
  while (capacity < b->used + more) capacity *= 2;
  char *grown = static_cast<char *>(std::realloc(b->data, capacity));
  if (grown == nullptr) {
    b->failed = true;
    return false;
  }
  b->data = grown;
  b->capacity = capacity;
  return true;
}

void Append(Buffer *b, const char *text, std::size_t length) {
  if (length == 0 || !Reserve(b, length)) return;
  std::memcpy(b->data + b->used, text, length);
  b->used += length;
}

void AppendChar(Buffer *b, char c) { Append(b, &c, 1); }
void AppendText(Buffer *b, const char *text) { Append(b, text, std::strlen(text)); }
char LastChar(const Buffer *b) { return b->used > 0 ? b->data[b->used - 1] : '\0'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
// Control characters (tabs included) count as blanks: they never reach a body.
bool IsBlank(char c) { return c == ' ' || (static_cast<unsigned char>(c) < 0x20); }
char Clean(char c) { return IsBlank(c) ? ' ' : c; }

void Trim(const char **begin, const char **end) {
  while (*begin < *end && IsBlank(**begin)) ++*begin;
  while (*end > *begin && IsBlank((*end)[-1])) --*end;
}

// Text with every run of blanks as one blank (the caller trims).
void AppendCollapsed(Buffer *b, const char *begin, const char *end, bool lower) {
  bool blank = false;
  for (const char *p = begin; p < end; ++p) {
    if (IsBlank(*p)) {
      blank = true;
      continue;
    }
    if (blank) AppendChar(b, ' ');
    blank = false;
    AppendChar(b, lower ? LowerAscii(*p) : *p);
  }
}

// ---- Names: ids and keywords compare with ASCII case ignored and blank runs as one. ----

// Steps through [p, end) as the normalised text: lower case, one blank for a run of blanks.
struct NameCursor {
  const char *p;
  const char *end;
};

int NextNameChar(NameCursor *c) {
  if (c->p >= c->end) return -1;
  if (IsBlank(*c->p)) {
    while (c->p < c->end && IsBlank(*c->p)) ++c->p;
    return ' ';
  }
  return static_cast<unsigned char>(LowerAscii(*c->p++));
}

std::size_t HashName(const char *begin, const char *end) {
  std::size_t h = 2166136261u;
  NameCursor c = {begin, end};
  for (int ch; (ch = NextNameChar(&c)) >= 0;) h = (h ^ static_cast<std::size_t>(ch)) * 16777619u;
  return h;
}

bool SameName(const char *a, const char *begin, const char *end) {
  NameCursor x = {a, a + std::strlen(a)};
  NameCursor y = {begin, end};
  for (;;) {
    const int cx = NextNameChar(&x);
    const int cy = NextNameChar(&y);
    if (cx != cy) return false;
    if (cx < 0) return true;
  }
}

void Insert(int *table, std::size_t size, std::size_t hash, int value) {
  for (std::size_t i = hash & (size - 1);; i = (i + 1) & (size - 1)) {
    if (table[i] < 0) {
      table[i] = value;
      return;
    }
  }
}

// ---- The parser ----

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

}  // namespace

bool ParseHelpText(const char *text, std::size_t length, HelpDocument *document) {
  *document = HelpDocument{nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, 0};
  Buffer storage = {nullptr, 0, 0, false};
  TopicOffsets *topics = nullptr;
  KeywordOffsets *keywords = nullptr;
  int count = 0, capacity = 0, keywordCount = 0, keywordCapacity = 0;
  BodyState body = {kNone, false, false};
  bool headerJustRead = false;
  bool failed = false;

  std::size_t start = 0;
  while (start < length && !failed) {
    const char *begin = text + start;
    const void *newline = std::memchr(begin, '\n', length - start);
    const char *end = newline != nullptr ? static_cast<const char *>(newline) : text + length;
    start = static_cast<std::size_t>(end - text) + 1;
    const void *nul = std::memchr(begin, '\0', static_cast<std::size_t>(end - begin));
    if (nul != nullptr) end = static_cast<const char *>(nul);
    if (end > begin && end[-1] == '\r') --end;

    if (end > begin && begin[0] == ';') continue;
    if (end - begin >= 3 && std::memcmp(begin, "== ", 3) == 0) {
      if (count > 0) {
        CloseBlock(&storage, &body);
        AppendChar(&storage, '\0');  // ends the body of the topic before
      }
      if (!GrowArray(&topics, &capacity, count)) {
        failed = true;
        break;
      }
      const char *bar = static_cast<const char *>(std::memchr(begin, '|', static_cast<std::size_t>(end - begin)));
      const char *ib = begin + 3;
      const char *ie = bar != nullptr ? bar : end;
      Trim(&ib, &ie);
      TopicOffsets &t = topics[count++];
      t.id = storage.used;
      AppendCollapsed(&storage, ib, ie, true);
      AppendChar(&storage, '\0');
      t.title = storage.used;
      const char *tb = bar != nullptr ? bar + 1 : ib;
      const char *te = bar != nullptr ? end : ie;
      Trim(&tb, &te);
      AppendCollapsed(&storage, tb, te, false);
      AppendChar(&storage, '\0');
      t.body = storage.used;
      body = BodyState{kNone, false, false};
      headerJustRead = true;
      continue;
    }
    if (count == 0) continue;  // text before the first topic belongs to none
    if (headerJustRead && StartsWithIgnoringCase(begin, end, "keywords:")) {
      for (const char *k = begin + 9; k < end;) {
        const char *stop = static_cast<const char *>(std::memchr(k, ';', static_cast<std::size_t>(end - k)));
        if (stop == nullptr) stop = end;
        const char *kb = k;
        const char *ke = stop;
        Trim(&kb, &ke);
        if (kb < ke) {
          if (!GrowArray(&keywords, &keywordCapacity, keywordCount)) {
            failed = true;
            break;
          }
          keywords[keywordCount++] = KeywordOffsets{storage.used, count - 1};
          AppendCollapsed(&storage, kb, ke, false);
          AppendChar(&storage, '\0');
        }
        k = stop + 1;
      }
      topics[count - 1].body = storage.used;  // nothing of the body has been written yet
      continue;
    }
    headerJustRead = false;
    AddBodyLine(&storage, &body, begin, end);
  }
  if (count > 0) {
    CloseBlock(&storage, &body);
    AppendChar(&storage, '\0');
  }

  HelpDocument d = {nullptr, count, nullptr, keywordCount, storage.data, nullptr, nullptr, 0};
  if (!failed && !storage.failed) {
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
  if (failed || storage.failed) {
    std::free(topics);
    std::free(keywords);
    d.storage = storage.data;
    FreeHelpDocument(&d);
    return false;
  }
  for (std::size_t i = 0; i < d.tableSize; ++i) d.idTable[i] = d.keywordTable[i] = -1;
  for (int i = 0; i < count; ++i) {
    d.topics[i] = HelpTopic{storage.data + topics[i].id, storage.data + topics[i].title,
                            storage.data + topics[i].body};
    const char *id = d.topics[i].id;
    const char *idEnd = id + std::strlen(id);
    if (FindHelpTopicById(d, id) < 0) Insert(d.idTable, d.tableSize, HashName(id, idEnd), i);
  }
  for (int i = 0; i < keywordCount; ++i) {
    d.keywords[i] = HelpKeyword{storage.data + keywords[i].text, keywords[i].topic};
    const char *k = d.keywords[i].text;
    if (FindHelpTopicByKeyword(d, k) < 0) {
      Insert(d.keywordTable, d.tableSize, HashName(k, k + std::strlen(k)), i);
    }
  }
  std::free(topics);
  std::free(keywords);
  *document = d;
  return true;
}

void FreeHelpDocument(HelpDocument *document) {
  std::free(document->topics);
  std::free(document->keywords);
  std::free(document->storage);
  std::free(document->idTable);
  std::free(document->keywordTable);
  *document = HelpDocument{nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, 0};
}

namespace {

int FindById(const HelpDocument &d, const char *begin, const char *end) {
  Trim(&begin, &end);
  if (d.tableSize == 0 || begin == end) return -1;
  for (std::size_t i = HashName(begin, end) & (d.tableSize - 1);; i = (i + 1) & (d.tableSize - 1)) {
    const int t = d.idTable[i];
    if (t < 0) return -1;
    if (SameName(d.topics[t].id, begin, end)) return t;
  }
}

int FindByKeyword(const HelpDocument &d, const char *begin, const char *end) {
  Trim(&begin, &end);
  if (d.tableSize == 0 || begin == end) return -1;
  for (std::size_t i = HashName(begin, end) & (d.tableSize - 1);; i = (i + 1) & (d.tableSize - 1)) {
    const int k = d.keywordTable[i];
    if (k < 0) return -1;
    if (SameName(d.keywords[k].text, begin, end)) return d.keywords[k].topic;
  }
}

}  // namespace

int FindHelpTopicById(const HelpDocument &document, const char *id) {
  return FindById(document, id, id + std::strlen(id));
}

int FindHelpTopicByKeyword(const HelpDocument &document, const char *keyword) {
  return FindByKeyword(document, keyword, keyword + std::strlen(keyword));
}

int ResolveHelpLink(const HelpDocument &document, const char *target, std::size_t length) {
  // "#n": topic number n, as the index and the search write their links, so that a topic
  // without an id of its own (or with another's) is reached too.
  const char *b = target;
  const char *e = target + length;
  Trim(&b, &e);
  if (e - b >= 2 && *b == '#') {
    long number = 0;
    const char *p = b + 1;
    while (p < e && *p >= '0' && *p <= '9' && number <= document.count) number = number * 10 + (*p++ - '0');
    if (p == e && number < document.count) return static_cast<int>(number);
  }
  const int topic = FindById(document, target, target + length);
  return topic >= 0 ? topic : FindByKeyword(document, target, target + length);
}

void FreeHelpPage(HelpPage *page) {
  std::free(page->body);
  page->body = nullptr;
}

namespace {

int CompareIgnoringCase(const char *a, const char *b) {
  for (;; ++a, ++b) {
    const unsigned char x = static_cast<unsigned char>(LowerAscii(*a));
    const unsigned char y = static_cast<unsigned char>(LowerAscii(*b));
    if (x != y || x == 0) return x < y ? -1 : (x > y ? 1 : 0);
  }
}

int CompareKeywords(const void *a, const void *b) {
  const HelpKeyword *x = static_cast<const HelpKeyword *>(a);
  const HelpKeyword *y = static_cast<const HelpKeyword *>(b);
  const int byText = CompareIgnoringCase(x->text, y->text);
  if (byText != 0) return byText;
  return x->text < y->text ? -1 : (x->text > y->text ? 1 : 0);  // the file's order
}

void AppendLink(Buffer *b, char kind, int topic, const char *text) {
  char target[24];
  std::snprintf(target, sizeof target, "#%d", topic);
  AppendChar(b, kind);
  AppendChar(b, kHelpLinkStart);
  AppendText(b, target);
  AppendChar(b, kHelpLinkText);
  AppendText(b, text);
  AppendChar(b, kHelpLinkEnd);
  AppendChar(b, '\n');
}

bool Finish(Buffer *b, HelpPage *page) {
  AppendChar(b, '\0');
  if (b->failed) {
    std::free(b->data);
    return false;
  }
  page->body = b->data;
  return true;
}

// Whether `word` (lower case, `length` characters) occurs in `text`, ASCII case ignored.
bool Contains(const char *text, const char *word, std::size_t length) {
  for (const char *p = text; *p != '\0'; ++p) {
    std::size_t i = 0;
    while (i < length && p[i] != '\0' && LowerAscii(p[i]) == word[i]) ++i;
    if (i == length) return true;
  }
  return false;
}

}  // namespace

bool BuildHelpIndexPage(const HelpDocument &document, HelpPage *page) {
  page->body = nullptr;
  Buffer b = {nullptr, 0, 0, false};
  const std::size_t n = static_cast<std::size_t>(document.keywordCount);
  HelpKeyword *sorted = static_cast<HelpKeyword *>(std::malloc((n + 1) * sizeof(HelpKeyword)));
  if (sorted == nullptr) return false;
  if (n > 0) std::memcpy(sorted, document.keywords, n * sizeof(HelpKeyword));
  std::qsort(sorted, n, sizeof(HelpKeyword), CompareKeywords);
  const char *previous = nullptr;
  for (std::size_t i = 0; i < n; ++i) {
    // A keyword written twice leads to the topic that claimed it first: listed once.
    if (previous != nullptr && CompareIgnoringCase(previous, sorted[i].text) == 0) continue;
    previous = sorted[i].text;
    const int topic = FindHelpTopicByKeyword(document, sorted[i].text);
    AppendLink(&b, kHelpParagraph, topic, sorted[i].text);
  }
  std::free(sorted);
  return Finish(&b, page);
}

bool BuildHelpSearchPage(const HelpDocument &document, const char *query, const char *noneText,
                         HelpPage *page, int *found) {
  page->body = nullptr;
  *found = 0;
  // The words of the query, lower case, each ended by a NUL.
  char words[256];
  std::size_t used = 0;
  int wordCount = 0;
  for (const char *p = query; *p != '\0' && used + 2 < sizeof words;) {
    while (*p != '\0' && IsBlank(*p)) ++p;
    if (*p == '\0') break;
    while (*p != '\0' && !IsBlank(*p) && used + 2 < sizeof words) words[used++] = LowerAscii(*p++);
    words[used++] = '\0';
    ++wordCount;
    while (*p != '\0' && !IsBlank(*p)) ++p;  // a word too long for the buffer is cut
  }
  if (wordCount == 0) return false;

  Buffer b = {nullptr, 0, 0, false};
  for (int t = 0; t < document.count; ++t) {
    const HelpTopic &topic = document.topics[t];
    bool all = true;
    const char *w = words;
    for (int i = 0; i < wordCount && all; ++i) {
      const std::size_t length = std::strlen(w);
      all = Contains(topic.title, w, length) || Contains(topic.body, w, length);
      w += length + 1;
    }
    if (!all) continue;
    ++*found;
    AppendLink(&b, kHelpBullet, t, topic.title[0] != '\0' ? topic.title : topic.id);
  }
  if (*found == 0) {
    AppendChar(&b, kHelpParagraph);
    AppendText(&b, noneText);
    AppendChar(&b, '\n');
  }
  return Finish(&b, page);
}
