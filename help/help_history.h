// The help window's pages in the order the reader visited them, and which page each request,
// button and link leads to and what it shows. Portable: the window keeps only the Win32 steps
// (reading the search box, drawing, focus).
#pragma once

#include <cstddef>

#include "help/help_text.h"
#include "support/hooks.h"

enum HelpPageKind { kHelpTopicPage, kHelpIndexPage, kHelpSearchPage, kHelpMessagePage };

struct HelpVisit {
  int kind;
  int topic;              // kHelpTopicPage
  int message;            // kHelpMessagePage: a string id
  int scrollY;            // where the reader was on the page when they left it
  char query[kTextSize];  // kHelpSearchPage
};

constexpr int kHelpHistorySize = 64;

struct HelpHistory {
  HelpVisit *visits;  // kHelpHistorySize pages, from the heap while the window is open
  int count;          // the page shown is visits[count - 1]
};

// False when memory ran out.
bool OpenHelpHistory(HelpHistory *history);
void CloseHelpHistory(HelpHistory *history);
// Notes that the reader left the page shown at `scrollY`, then makes `visit` the page shown;
// when the history is full the oldest page is forgotten.
void VisitHelpPage(HelpHistory *history, const HelpVisit &visit, int scrollY);
// False on the first page (nothing to go back to).
bool GoBackInHelp(HelpHistory *history);
// The page shown; null when none.
const HelpVisit *CurrentHelpVisit(const HelpHistory &history);

// Where each way in leads. `document` is null while no file is loaded; a file without a
// topic shows the message that it cannot be read.
HelpVisit HelpTopicVisit(int topic);
HelpVisit HelpMessageVisit(int stringId);
HelpVisit HelpContentsVisit(const HelpDocument *document);  // "contents", else the first topic
HelpVisit HelpIndexVisit(const HelpDocument *document);
// False, and nothing to visit, when the query has no word or no file is loaded.
bool HelpSearchVisit(const HelpDocument *document, const char *query, HelpVisit *visit);
HelpVisit HelpLinkVisit(const HelpDocument &document, const char *target, std::size_t length);
// A request of the clock: the index, the topic of a keyword, or help on help.
enum HelpRequest { kHelpIndexRequest, kHelpKeywordRequest, kHelpOnHelpRequest };
HelpVisit HelpRequestVisit(const HelpDocument *document, int request, const char *keyword);

// The title and body a visit shows: a topic's own, a page made for it (index, search), or a
// message of the string table.
struct HelpPageText {
  HelpPage page;  // the index or search page
  char pageTitle[2 * kTextSize + 2];  // a heading, ": " and a query
  char messageBody[kTextSize + 3];
  const char *title;
  const char *body;
};
void ComposeHelpPage(const HelpDocument *document, const HelpVisit &visit, HelpPageText *text);
void ClearHelpPageText(HelpPageText *text);
// What the page shows, for tests and tools: a topic's id, "(index)", "(search)", or "" for a
// message or no page.
const char *HelpVisitTopicId(const HelpDocument *document, const HelpVisit *visit);
