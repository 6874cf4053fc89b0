// The help window's history and navigation: which page each way in leads to and what it
// shows. Portable.
#include "help/help_history.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/resource_ids.h"

bool OpenHelpHistory(HelpHistory *history) {
  history->visits = static_cast<HelpVisit *>(std::calloc(kHelpHistorySize, sizeof(HelpVisit)));
  history->count = 0;
  return history->visits != nullptr;
}

void CloseHelpHistory(HelpHistory *history) {
  std::free(history->visits);
  history->visits = nullptr;
  history->count = 0;
}

void VisitHelpPage(HelpHistory *history, const HelpVisit &visit, int scrollY) {
  if (history->count > 0) history->visits[history->count - 1].scrollY = scrollY;
  if (history->count == kHelpHistorySize) {  // the oldest page is forgotten
    std::memmove(history->visits, history->visits + 1, (kHelpHistorySize - 1) * sizeof(HelpVisit));
    --history->count;
  }
  history->visits[history->count++] = visit;
}

bool GoBackInHelp(HelpHistory *history) {
  if (history->count < 2) return false;
  --history->count;
  return true;
}

const HelpVisit *CurrentHelpVisit(const HelpHistory &history) {
  return history.visits != nullptr && history.count > 0 ? &history.visits[history.count - 1] : nullptr;
}

HelpVisit HelpTopicVisit(int topic) {
  HelpVisit v = {};
  v.kind = kHelpTopicPage;
  v.topic = topic;
  return v;
}

HelpVisit HelpMessageVisit(int stringId) {
  HelpVisit v = {};
  v.kind = kHelpMessagePage;
  v.message = stringId;
  return v;
}

namespace {

bool HasTopics(const HelpDocument *document) { return document != nullptr && document->count > 0; }

}  // namespace

HelpVisit HelpContentsVisit(const HelpDocument *document) {
  if (!HasTopics(document)) return HelpMessageVisit(IDS_HELP_UNREADABLE);
  const int contents = FindHelpTopicById(*document, "contents");
  return HelpTopicVisit(contents >= 0 ? contents : 0);
}

HelpVisit HelpIndexVisit(const HelpDocument *document) {
  if (!HasTopics(document)) return HelpMessageVisit(IDS_HELP_UNREADABLE);
  HelpVisit v = {};
  v.kind = kHelpIndexPage;
  return v;
}

bool HelpSearchVisit(const HelpDocument *document, const char *query, HelpVisit *visit) {
  bool anyWord = false;
  for (const char *p = query; *p != '\0'; ++p) anyWord = anyWord || *p != ' ';
  if (!anyWord || document == nullptr) return false;
  *visit = HelpVisit{};
  visit->kind = kHelpSearchPage;
  std::snprintf(visit->query, sizeof visit->query, "%s", query);
  return true;
}

HelpVisit HelpLinkVisit(const HelpDocument &document, const char *target, std::size_t length) {
  const int topic = ResolveHelpLink(document, target, length);
  return topic >= 0 ? HelpTopicVisit(topic) : HelpMessageVisit(IDS_HELP_NO_TOPIC);
}

HelpVisit HelpRequestVisit(const HelpDocument *document, int request, const char *keyword) {
  if (!HasTopics(document)) return HelpMessageVisit(IDS_HELP_UNREADABLE);
  if (request == kHelpIndexRequest) return HelpIndexVisit(document);
  const int topic = request == kHelpKeywordRequest ? FindHelpTopicByKeyword(*document, keyword)
                                                   : FindHelpTopicById(*document, "helponhelp");
  return topic >= 0 ? HelpTopicVisit(topic) : HelpMessageVisit(IDS_HELP_NO_TOPIC);
}

namespace {

// A button's text without its "&": the title of the page it opens.
void LoadPlainText(int id, char *out) {
  char text[kTextSize];
  LoadText(id, text);
  int j = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    if (text[i] != '&') out[j++] = text[i];
  }
  out[j] = '\0';
}

}  // namespace

void ClearHelpPageText(HelpPageText *text) {
  FreeHelpPage(&text->page);
  text->title = "";
  text->body = "";
}

void ComposeHelpPage(const HelpDocument *document, const HelpVisit &v, HelpPageText *text) {
  ClearHelpPageText(text);
  if (v.kind == kHelpTopicPage && document != nullptr && v.topic < document->count) {
    text->title = document->topics[v.topic].title;
    text->body = document->topics[v.topic].body;
  } else if (v.kind == kHelpIndexPage && document != nullptr) {
    LoadPlainText(IDS_HELP_INDEX, text->pageTitle);
    text->title = text->pageTitle;
    if (BuildHelpIndexPage(*document, &text->page)) text->body = text->page.body;
  } else if (v.kind == kHelpSearchPage && document != nullptr) {
    char heading[kTextSize];
    char none[kTextSize];
    LoadText(IDS_HELP_SEARCH_TITLE, heading);
    LoadText(IDS_HELP_NOT_FOUND, none);
    std::snprintf(text->pageTitle, sizeof text->pageTitle, "%s: %s", heading, v.query);
    text->title = text->pageTitle;
    int found = 0;
    if (BuildHelpSearchPage(*document, v.query, none, &text->page, &found)) text->body = text->page.body;
  } else {
    char message[kTextSize];
    LoadText(v.kind == kHelpMessagePage ? v.message : IDS_HELP_UNREADABLE, message);
    std::snprintf(text->messageBody, sizeof text->messageBody, "P%s\n", message);
    text->body = text->messageBody;
  }
}

const char *HelpVisitTopicId(const HelpDocument *document, const HelpVisit *visit) {
  if (visit == nullptr) return "";
  if (visit->kind == kHelpIndexPage) return "(index)";
  if (visit->kind == kHelpSearchPage) return "(search)";
  if (visit->kind == kHelpTopicPage && document != nullptr && visit->topic < document->count) {
    return document->topics[visit->topic].id;
  }
  return "";
}
