// The help window's history and where each request, button and link leads, without a window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "help/help_history.h"
#include "resources/resource_ids.h"

namespace {

struct Document {
  HelpDocument d{};
  explicit Document(const std::string &text) { EXPECT_TRUE(ParseHelpText(text.data(), text.size(), &d)); }
  ~Document() { FreeHelpDocument(&d); }
};

const char kFile[] =
    "== intro | Introduction\nkeywords: start\nSee [[keys]] and [[nowhere]].\n"
    "== contents | Contents\nThe topics.\n"
    "== keys | Keys\nkeywords: F5\nF5 shows the time.\n";

struct Expect {
  int kind;
  int topic;
  int message;
};

void ExpectVisit(const HelpVisit &v, const Expect &e, const char *what) {
  EXPECT_EQ(v.kind, e.kind) << what;
  if (e.kind == kHelpTopicPage) {
    EXPECT_EQ(v.topic, e.topic) << what;
  }
  if (e.kind == kHelpMessagePage) {
    EXPECT_EQ(v.message, e.message) << what;
  }
}

TEST(HelpNavigation, EachWayInLeadsToItsPageOrToTheMessageThatSaysWhyNot) {
  Document file(kFile);
  Document noContents("== only | Only\nText.\n");
  Document empty("no topic at all\n");
  const HelpDocument *none = nullptr;
  const Expect unreadable = {kHelpMessagePage, 0, IDS_HELP_UNREADABLE};
  const Expect noTopic = {kHelpMessagePage, 0, IDS_HELP_NO_TOPIC};
  const struct {
    const char *what;
    HelpVisit visit;
    Expect expect;
  } cases[] = {
      {"contents", HelpContentsVisit(&file.d), {kHelpTopicPage, 1, 0}},
      {"contents, none by that id", HelpContentsVisit(&noContents.d), {kHelpTopicPage, 0, 0}},
      {"contents, no file", HelpContentsVisit(none), unreadable},
      {"contents, no topic in the file", HelpContentsVisit(&empty.d), unreadable},
      {"index", HelpIndexVisit(&file.d), {kHelpIndexPage, 0, 0}},
      {"index, no topic", HelpIndexVisit(&empty.d), unreadable},
      {"request: index", HelpRequestVisit(&file.d, kHelpIndexRequest, ""), {kHelpIndexPage, 0, 0}},
      {"request: keyword", HelpRequestVisit(&file.d, kHelpKeywordRequest, " f5 "), {kHelpTopicPage, 2, 0}},
      {"request: unknown keyword", HelpRequestVisit(&file.d, kHelpKeywordRequest, "moon"), noTopic},
      {"request: help on help, none", HelpRequestVisit(&file.d, kHelpOnHelpRequest, ""), noTopic},
      {"request: no file", HelpRequestVisit(none, kHelpKeywordRequest, "F5"), unreadable},
      {"request: no topic", HelpRequestVisit(&empty.d, kHelpIndexRequest, ""), unreadable},
      {"link by id", HelpLinkVisit(file.d, "keys", 4), {kHelpTopicPage, 2, 0}},
      {"link by number", HelpLinkVisit(file.d, "#1", 2), {kHelpTopicPage, 1, 0}},
      {"link to nowhere", HelpLinkVisit(file.d, "nowhere", 7), noTopic},
  };
  for (const auto &c : cases) ExpectVisit(c.visit, c.expect, c.what);

  HelpVisit search;
  EXPECT_FALSE(HelpSearchVisit(&file.d, "   ", &search)) << "a query of blanks searches nothing";
  EXPECT_FALSE(HelpSearchVisit(none, "time", &search)) << "nothing to search without a file";
  ASSERT_TRUE(HelpSearchVisit(&file.d, "the time", &search));
  EXPECT_EQ(search.kind, kHelpSearchPage);
  EXPECT_STREQ(search.query, "the time");
}

TEST(HelpHistory, KeepsTheLastPagesWithWhereTheReaderWasAndGoesBackToTheFirst) {
  HelpHistory history{};
  ASSERT_TRUE(OpenHelpHistory(&history));
  EXPECT_EQ(CurrentHelpVisit(history), nullptr);
  EXPECT_FALSE(GoBackInHelp(&history));
  const int visits = kHelpHistorySize + 6;  // the first six are forgotten
  for (int i = 0; i < visits; ++i) VisitHelpPage(&history, HelpTopicVisit(i), 10 * (i - 1));
  EXPECT_EQ(CurrentHelpVisit(history)->topic, visits - 1);
  EXPECT_EQ(CurrentHelpVisit(history)->scrollY, 0) << "a new page opens at its top";
  int backs = 0;
  while (GoBackInHelp(&history)) {
    ++backs;
    const HelpVisit &v = *CurrentHelpVisit(history);
    EXPECT_EQ(v.scrollY, 10 * v.topic) << "page " << v.topic << " is shown where the reader left it";
  }
  EXPECT_EQ(backs, kHelpHistorySize - 1);
  EXPECT_EQ(CurrentHelpVisit(history)->topic, 6);
  CloseHelpHistory(&history);
  EXPECT_EQ(CurrentHelpVisit(history), nullptr);
}

TEST(HelpPageText, EachPageHasItsTitleBodyAndTopicId) {
  Document file(kFile);
  HelpVisit search;
  ASSERT_TRUE(HelpSearchVisit(&file.d, "moon", &search));
  const struct {
    HelpVisit visit;
    const HelpDocument *document;
    const char *title, *bodyStart, *topicId;
  } cases[] = {
      {HelpTopicVisit(2), &file.d, "Keys", "PF5 shows the time.\n", "keys"},
      {HelpTopicVisit(3), &file.d, "", "PThe help file ZORKEL.HLP cannot be read.", ""},  // past the end
      {HelpTopicVisit(0), nullptr, "", "PThe help file ZORKEL.HLP cannot be read.", ""},
      {HelpIndexVisit(&file.d), &file.d, "Index", "", "(index)"},
      {search, &file.d, "Topics with all these words: moon", "PNo topic contains all", "(search)"},
      {HelpMessageVisit(IDS_HELP_NO_TOPIC), &file.d, "", "PThere is no help topic for this keyword.\n", ""},
  };
  HelpPageText text{};
  for (const auto &c : cases) {
    ComposeHelpPage(c.document, c.visit, &text);
    EXPECT_STREQ(text.title, c.title);
    EXPECT_EQ(std::strncmp(text.body, c.bodyStart, std::strlen(c.bodyStart)), 0) << text.body;
    EXPECT_STREQ(HelpVisitTopicId(c.document, &c.visit), c.topicId);
  }
  ComposeHelpPage(&file.d, HelpIndexVisit(&file.d), &text);
  EXPECT_NE(std::strstr(text.body, "F5"), nullptr) << "the index lists the keywords";
  ClearHelpPageText(&text);
  EXPECT_EQ(text.page.body, nullptr);
  EXPECT_STREQ(HelpVisitTopicId(&file.d, nullptr), "");
}

}  // namespace
