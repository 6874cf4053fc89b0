// The help file's text: topics with an id, a title, keywords and a body. Portable; plain C
// memory, so that the program needs no C++ library support.
//
// Format (Windows-1252, one line per line): ";" starts a comment line; "== id | Title"
// starts a topic; a "keywords: a; b" line right after it lists its keywords; other lines
// are the body, where consecutive lines join into one paragraph, a blank line ends a
// paragraph, and a line starting with two blanks or "- " stands on its own.
#pragma once

#include <cstddef>

struct HelpTopic {
  const char *id;        // lower case
  const char *title;
  const char *keywords;  // lower case, each ended by ';' ("keys;keyboard;")
  const char *body;      // display lines separated by CR LF
};

struct HelpDocument {
  HelpTopic *topics;
  int count;
  char *storage;  // holds every text the topics point into
};

// Parses `length` bytes of `text` (NUL bytes end a line's text). False only when memory ran
// out; the document is then empty. Free it with FreeHelpDocument.
bool ParseHelpText(const char *text, std::size_t length, HelpDocument *document);
void FreeHelpDocument(HelpDocument *document);

// The topic with this id, or the one with this keyword (ASCII case ignored); -1 when none.
int FindHelpTopicById(const HelpDocument &document, const char *id);
int FindHelpTopicByKeyword(const HelpDocument &document, const char *keyword);
