// Parsing the help file. Portable.
#include "shell/help_text.h"

#include <cstdlib>
#include <cstring>

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
  if (!Reserve(b, length)) return;
  std::memcpy(b->data + b->used, text, length);
  b->used += length;
}

void AppendChar(Buffer *b, char c) { Append(b, &c, 1); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// [begin, end) without surrounding blanks.
void Trim(const char **begin, const char **end) {
  while (*begin < *end && IsBlank(**begin)) ++*begin;
  while (*end > *begin && IsBlank((*end)[-1])) --*end;
}

void AppendLower(Buffer *b, const char *begin, const char *end) {
  for (const char *p = begin; p < end; ++p) AppendChar(b, LowerAscii(*p));
}

struct TopicOffsets {
  std::size_t id, title, keywords, body;
};

// The body of the topic being read, as display lines.
struct BodyState {
  bool inParagraph;   // a paragraph line was added and may continue
  bool blankPending;  // a blank line is owed before the next text
  bool anyText;
};

void StartDisplayLine(Buffer *b, BodyState *s) {
  if (s->anyText) {
    Append(b, "\r\n", 2);
    if (s->blankPending) Append(b, "\r\n", 2);
  }
  s->blankPending = false;
  s->anyText = true;
}

void AddBodyLine(Buffer *b, BodyState *s, const char *begin, const char *end) {
  const char *tb = begin;
  const char *te = end;
  Trim(&tb, &te);
  if (tb == te) {  // a blank line ends the paragraph; several count as one
    s->inParagraph = false;
    if (s->anyText) s->blankPending = true;
    return;
  }
  const bool standsAlone = (end - begin >= 2) && ((begin[0] == ' ' && begin[1] == ' ') ||
                                                  (begin[0] == '-' && begin[1] == ' '));
  if (standsAlone) {
    StartDisplayLine(b, s);
    while (end > begin && IsBlank(end[-1])) --end;
    Append(b, begin, static_cast<std::size_t>(end - begin));
    s->inParagraph = false;
    return;
  }
  if (s->inParagraph) {
    AppendChar(b, ' ');
  } else {
    StartDisplayLine(b, s);
  }
  Append(b, tb, static_cast<std::size_t>(te - tb));
  s->inParagraph = true;
}

bool StartsWithIgnoringCase(const char *begin, const char *end, const char *prefix) {
  for (; *prefix != '\0'; ++prefix, ++begin) {
    if (begin >= end || LowerAscii(*begin) != *prefix) return false;
  }
  return true;
}

void AddKeywords(Buffer *b, const char *begin, const char *end) {
  while (begin < end) {
    const char *stop = begin;
    while (stop < end && *stop != ';') ++stop;
    const char *kb = begin;
    const char *ke = stop;
    Trim(&kb, &ke);
    if (kb < ke) {
      AppendLower(b, kb, ke);
      AppendChar(b, ';');
    }
    begin = stop + 1;
  }
}

}  // namespace

bool ParseHelpText(const char *text, std::size_t length, HelpDocument *document) {
  *document = HelpDocument{nullptr, 0, nullptr};
  Buffer storage = {nullptr, 0, 0, false};
  TopicOffsets *topics = nullptr;
  int count = 0;
  int capacity = 0;
  BodyState body = {false, false, false};
  bool headerJustRead = false;
  bool failed = false;

  std::size_t start = 0;
  while (start < length && !failed) {
    std::size_t stop = start;
    while (stop < length && text[stop] != '\n') ++stop;
    const char *begin = text + start;
    const char *end = text + stop;
    start = stop + 1;
    const void *nul = std::memchr(begin, '\0', static_cast<std::size_t>(end - begin));
    if (nul != nullptr) end = static_cast<const char *>(nul);
    if (end > begin && end[-1] == '\r') --end;

    if (end > begin && begin[0] == ';') continue;
    if (end - begin >= 3 && std::memcmp(begin, "== ", 3) == 0) {
      if (count > 0) AppendChar(&storage, '\0');  // ends the body of the topic before
      if (count == capacity) {
        capacity = capacity == 0 ? 16 : capacity * 2;
        void *grown = std::realloc(topics, static_cast<std::size_t>(capacity) * sizeof *topics);
        if (grown == nullptr) {
          failed = true;
          break;
        }
        topics = static_cast<TopicOffsets *>(grown);
      }
      const char *bar = static_cast<const char *>(std::memchr(begin, '|', static_cast<std::size_t>(end - begin)));
      const char *ib = begin + 3;
      const char *ie = bar != nullptr ? bar : end;
      Trim(&ib, &ie);
      TopicOffsets &t = topics[count++];
      t.id = storage.used;
      AppendLower(&storage, ib, ie);
      AppendChar(&storage, '\0');
      t.title = storage.used;
      const char *tb = bar != nullptr ? bar + 1 : ib;
      const char *te = bar != nullptr ? end : ie;
      Trim(&tb, &te);
      Append(&storage, tb, static_cast<std::size_t>(te - tb));
      AppendChar(&storage, '\0');
      t.keywords = storage.used;
      AppendChar(&storage, '\0');  // replaced below when the topic has a keywords line
      t.body = storage.used;
      body = BodyState{false, false, false};
      headerJustRead = true;
      continue;
    }
    if (count == 0) continue;  // text before the first topic belongs to none
    if (headerJustRead && StartsWithIgnoringCase(begin, end, "keywords:")) {
      TopicOffsets &t = topics[count - 1];
      storage.used = t.keywords;  // nothing of the body has been written yet
      AddKeywords(&storage, begin + 9, end);
      AppendChar(&storage, '\0');
      t.body = storage.used;
    } else {
      AddBodyLine(&storage, &body, begin, end);
    }
    headerJustRead = false;
  }
  if (count > 0) AppendChar(&storage, '\0');

  if (failed || storage.failed) {
    std::free(storage.data);
    std::free(topics);
    return false;
  }
  HelpTopic *out = count > 0 ? static_cast<HelpTopic *>(std::malloc(static_cast<std::size_t>(count) * sizeof(HelpTopic)))
                             : nullptr;
  if (count > 0 && out == nullptr) {
    std::free(storage.data);
    std::free(topics);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    out[i].id = storage.data + topics[i].id;
    out[i].title = storage.data + topics[i].title;
    out[i].keywords = storage.data + topics[i].keywords;
    out[i].body = storage.data + topics[i].body;
  }
  std::free(topics);
  *document = HelpDocument{out, count, storage.data};
  return true;
}

void FreeHelpDocument(HelpDocument *document) {
  std::free(document->topics);
  std::free(document->storage);
  *document = HelpDocument{nullptr, 0, nullptr};
}

namespace {

// a and b equal ignoring ASCII case, b being [begin, end).
bool SameWord(const char *a, const char *begin, const char *end) {
  for (; begin < end; ++a, ++begin) {
    if (*a == '\0' || LowerAscii(*a) != LowerAscii(*begin)) return false;
  }
  return *a == '\0';
}

}  // namespace

int FindHelpTopicById(const HelpDocument &document, const char *id) {
  const char *b = id;
  const char *e = id + std::strlen(id);
  Trim(&b, &e);
  for (int i = 0; i < document.count; ++i) {
    if (SameWord(document.topics[i].id, b, e)) return i;
  }
  return -1;
}

int FindHelpTopicByKeyword(const HelpDocument &document, const char *keyword) {
  const char *b = keyword;
  const char *e = keyword + std::strlen(keyword);
  Trim(&b, &e);
  if (b == e) return -1;
  for (int i = 0; i < document.count; ++i) {
    for (const char *k = document.topics[i].keywords; *k != '\0';) {
      const char *semicolon = std::strchr(k, ';');
      if (semicolon == nullptr) break;
      if (static_cast<std::size_t>(semicolon - k) == static_cast<std::size_t>(e - b)) {
        bool same = true;
        for (const char *p = k, *q = b; q < e; ++p, ++q) same = same && *p == LowerAscii(*q);
        if (same) return i;
      }
      k = semicolon + 1;
    }
  }
  return -1;
}
