// The pages the help makes for the reader: the keyword index and the result of a search,
// in the block format of topics. Portable.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "help/help_buffer.h"
#include "help/help_text.h"

using namespace help_buffer;

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
