// The help file's text: topics with an id, a title, keywords and a body of blocks, links
// between them, the keyword index and the search. Portable; plain C memory, so that the
// program needs no C++ library support. The file format is described in docs/help-file.md.
#pragma once

#include <cstddef>

// A topic body is a run of blocks, each one line ended by '\n' and starting with its kind:
enum : char {
  kHelpParagraph = 'P',  // prose: wrapped at the window's width
  kHelpBullet = 'B',     // prose with a bullet, hang-indented
  kHelpColumns = 'C',    // a line of a table or key list: fixed pitch, kept as written
  kHelpGap = 'S',        // a blank line of the file between two blocks
};
// Inside block text a link is kHelpLinkStart target kHelpLinkText shown-text kHelpLinkEnd;
// an empty shown text stands for the title of the topic it leads to. The file's own control
// characters never reach the body (they become blanks), so these cannot be forged.
enum : char { kHelpLinkStart = '\x01', kHelpLinkText = '\x02', kHelpLinkEnd = '\x03' };

struct HelpTopic {
  const char *id;     // lower case
  const char *title;
  const char *body;   // blocks, as above
};

struct HelpKeyword {
  const char *text;   // as written, blanks collapsed
  int topic;
};

struct HelpDocument {
  HelpTopic *topics;
  int count;
  HelpKeyword *keywords;  // in the order of the file
  int keywordCount;
  char *storage;          // holds every text the topics and keywords point into
  int *idTable;           // hash tables of topic and keyword indexes (-1: empty slot)
  int *keywordTable;
  std::size_t tableSize;  // a power of two
};

// Parses `length` bytes of `text` (NUL bytes end a line's text), in time linear in the
// length. False only when memory ran out; the document is then empty. Free it with
// FreeHelpDocument.
bool ParseHelpText(const char *text, std::size_t length, HelpDocument *document);
void FreeHelpDocument(HelpDocument *document);

// The topic with this id, or the one with this keyword (ASCII case and surrounding blanks
// ignored); -1 when none. The first topic to claim a keyword keeps it.
int FindHelpTopicById(const HelpDocument &document, const char *id);
int FindHelpTopicByKeyword(const HelpDocument &document, const char *keyword);
// Where a link leads: "#n" is topic number n; else the topic with that id, else the topic
// with that keyword; -1 if none.
int ResolveHelpLink(const HelpDocument &document, const char *target, std::size_t length);

// A page made for the reader: the keyword index, or the result of a search. Its body uses
// the block format of topics; free it with FreeHelpPage.
struct HelpPage {
  char *body;
};
void FreeHelpPage(HelpPage *page);

// Every keyword in alphabetical order (ASCII case ignored), each a link to its topic.
bool BuildHelpIndexPage(const HelpDocument &document, HelpPage *page);

// The topics whose title or text holds every word of `query` (ASCII case ignored), each a
// link; `noneText` is the page when none does. False when the query has no word or memory
// ran out. `found` gets the number of topics found.
bool BuildHelpSearchPage(const HelpDocument &document, const char *query, const char *noneText,
                         HelpPage *page, int *found);
