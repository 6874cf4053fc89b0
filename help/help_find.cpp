// Finding help topics by id, by keyword and by link, through the hash tables of names that
// the parser fills. Portable.
#include <cstring>

#include "help/help_buffer.h"
#include "help/help_text.h"

using namespace help_buffer;

namespace {

// Names: ids and keywords compare with ASCII case ignored and blank runs as one.

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

}  // namespace

namespace help_buffer {

std::size_t HashName(const char *begin, const char *end) {
  std::size_t h = 2166136261u;
  NameCursor c = {begin, end};
  for (int ch; (ch = NextNameChar(&c)) >= 0;) h = (h ^ static_cast<std::size_t>(ch)) * 16777619u;
  return h;
}

void InsertName(int *table, std::size_t size, std::size_t hash, int value) {
  for (std::size_t i = hash & (size - 1);; i = (i + 1) & (size - 1)) {
    if (table[i] < 0) {
      table[i] = value;
      return;
    }
  }
}

}  // namespace help_buffer

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
