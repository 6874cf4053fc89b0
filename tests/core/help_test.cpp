// The help file's text (topics, blocks, links, keywords, index, search) and the layout of a
// page (wrapping, bullets, columns, links).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "help/help_layout.h"
#include "help/help_text.h"
#include "test_files.h"

namespace {

HelpDocument Parse(const std::string &text) {
  HelpDocument d{};
  EXPECT_TRUE(ParseHelpText(text.data(), text.size(), &d));
  return d;
}

std::string ShippedHelpFile() {
  std::string text;
  EXPECT_TRUE(ReadShippedFile("ZORKEL.HLP", &text));
  return text;
}

TEST(HelpText, TopicsBlocksLinksAndKeywords) {
  const std::string file =
      "; a comment\r\n"
      "stray text before any topic\r\n"
      "== contents | Contents\r\n"
      "keywords: Index;  Time   Scales ;\r\n"
      "Orvane 2  shows\r\n"
      "the\ttime; see [[keys|the  keys]] and [[Keys]].\r\n"
      "\r\n"
      "\r\n"
      "- one item\r\n"
      "  carried on\r\n"
      "- two\r\n"
      "\r\n"
      "  Key  Name   [[keys|F5]]\r\n"
      "  F6   Other\r\n"
      "After [[broken [[ref]] and [[ | x]].\r\n"
      "== KEYS | Keyboard\r\n"
      "F5 to F9 switch.\r\n"
      "keywords: not a keyword line here\r\n"
      "== empty\n"
      "== contents | A second topic with the same id\r\n"
      "keywords: index; Other\r\n";
  HelpDocument d = Parse(file);
  ASSERT_EQ(d.count, 4);
  EXPECT_STREQ(d.topics[0].id, "contents");
  EXPECT_STREQ(d.topics[0].title, "Contents");
  EXPECT_STREQ(d.topics[0].body,
               "POrvane 2 shows the time; see \x01keys\x02the keys\x03 and \x01Keys\x02\x03.\n"
               "S\n"
               "Bone item carried on\n"
               "Btwo\n"
               "S\n"
               "CKey  Name   \x01keys\x02" "F5\x03\n"
               "CF6   Other\n"
               "PAfter [[broken \x01ref\x02\x03 and [[ | x]].\n");
  EXPECT_STREQ(d.topics[1].id, "keys");
  EXPECT_STREQ(d.topics[1].body, "PF5 to F9 switch. keywords: not a keyword line here\n");
  EXPECT_STREQ(d.topics[2].id, "empty");
  EXPECT_STREQ(d.topics[2].title, "empty");
  EXPECT_STREQ(d.topics[2].body, "");

  ASSERT_EQ(d.keywordCount, 4);
  EXPECT_STREQ(d.keywords[1].text, "Time Scales");
  struct Lookup {
    const char *name;
    int byKeyword, byId, byLink;
  } lookups[] = {
      {" INDEX ", 0, -1, 0},      // the first topic to claim a keyword keeps it
      {"time scales", 0, -1, 0},  {"TIME  SCALES", 0, -1, 0}, {"other", 3, -1, 3},
      {"Keys", -1, 1, 1},         {"contents", -1, 0, 0},     {"index;contents", -1, -1, -1},
      {"", -1, -1, -1},           {"nothing", -1, -1, -1},    {" #2 ", -1, -1, 2},
      {"#4", -1, -1, -1},         {"#", -1, -1, -1},          {"#1x", -1, -1, -1},
  };
  for (const Lookup &l : lookups) {
    EXPECT_EQ(FindHelpTopicByKeyword(d, l.name), l.byKeyword) << l.name;
    EXPECT_EQ(FindHelpTopicById(d, l.name), l.byId) << l.name;
    EXPECT_EQ(ResolveHelpLink(d, l.name, std::string(l.name).size()), l.byLink) << l.name;
  }
  FreeHelpDocument(&d);
  EXPECT_EQ(d.count, 0);
}

TEST(HelpText, OddInputGivesAnEmptyOrPartialDocument) {
  HelpDocument d = Parse("");
  EXPECT_EQ(d.count, 0);
  EXPECT_EQ(FindHelpTopicById(d, "contents"), -1);
  FreeHelpDocument(&d);
  d = Parse(std::string("\0\xff\n==", 5));
  EXPECT_EQ(d.count, 0);
  FreeHelpDocument(&d);
  const char odd[] = "== a\0 | hidden\nbody\0 hidden\n== b|B\n\x01\x02\x03 [[\x01|\x02]]";
  d = Parse(std::string(odd, sizeof odd - 1));
  ASSERT_EQ(d.count, 2);
  EXPECT_STREQ(d.topics[0].id, "a");
  EXPECT_STREQ(d.topics[0].body, "Pbody\n");
  EXPECT_STREQ(d.topics[1].title, "B");
  EXPECT_STREQ(d.topics[1].body, "C  [[ | ]]\n") << "control characters never reach a body";
  FreeHelpDocument(&d);
}

TEST(HelpText, IndexListsEveryKeywordOnceInOrderAndSearchNeedsEveryWord) {
  HelpDocument d = Parse(
      "== a | Sidereal Time\nkeywords: stars; LST; Zebra\nThe stars turn.\n"
      "== b | Universal Time\nkeywords: gmt; stars\nGreenwich time, not the STARS.\n"
      "== c | Chimes\nkeywords: beep\nBeeps every hour.\n");
  HelpPage index{};
  ASSERT_TRUE(BuildHelpIndexPage(d, &index));
  EXPECT_STREQ(index.body,
               "P\x01#2\x02" "beep\x03\n"
               "P\x01#1\x02" "gmt\x03\n"
               "P\x01#0\x02" "LST\x03\n"
               "P\x01#0\x02" "stars\x03\n"
               "P\x01#0\x02" "Zebra\x03\n");
  FreeHelpPage(&index);

  struct Search {
    const char *query;
    int found;
    const char *body;
  } searches[] = {
      {"time", 2, "B\x01#0\x02Sidereal Time\x03\nB\x01#1\x02Universal Time\x03\n"},
      {"  STARS   time ", 2, "B\x01#0\x02Sidereal Time\x03\nB\x01#1\x02Universal Time\x03\n"},
      {"stars greenwich", 1, "B\x01#1\x02Universal Time\x03\n"},
      {"hour beep", 1, "B\x01#2\x02" "Chimes\x03\n"},
      {"stars beep", 0, "PNothing found.\n"},
  };
  for (const Search &s : searches) {
    HelpPage page{};
    int found = -1;
    ASSERT_TRUE(BuildHelpSearchPage(d, s.query, "Nothing found.", &page, &found)) << s.query;
    EXPECT_EQ(found, s.found) << s.query;
    EXPECT_STREQ(page.body, s.body) << s.query;
    FreeHelpPage(&page);
  }
  HelpPage page{};
  int found = 0;
  EXPECT_FALSE(BuildHelpSearchPage(d, "   ", "none", &page, &found));
  FreeHelpDocument(&d);
}

TEST(HelpText, TheShippedHelpFileHasTheTopicsTheMenusOpenAndEveryLinkLeadsSomewhere) {
  HelpDocument d = Parse(ShippedHelpFile());
  EXPECT_EQ(FindHelpTopicById(d, "contents"), 0);
  EXPECT_GE(FindHelpTopicByKeyword(d, "keys"), 0);
  EXPECT_GE(FindHelpTopicById(d, "helponhelp"), 0);
  int links = 0;
  for (int i = 0; i < d.count; ++i) {
    EXPECT_STRNE(d.topics[i].body, "") << d.topics[i].id;
    for (const char *p = d.topics[i].body; (p = std::strchr(p, kHelpLinkStart)) != nullptr; ++links) {
      const char *stop = std::strchr(p, kHelpLinkText);
      ASSERT_NE(stop, nullptr);
      EXPECT_GE(ResolveHelpLink(d, p + 1, static_cast<std::size_t>(stop - p - 1)), 0)
          << d.topics[i].id << ": " << std::string(p + 1, stop);
      p = stop;
    }
  }
  EXPECT_GT(links, 10);
  FreeHelpDocument(&d);
}

// ---- Layout ----

// Widths that differ between letters, so that wrapping is not a matter of counting.
HelpLayoutMetrics TestMetrics() {
  HelpLayoutMetrics m{};
  for (int s = 0; s < kHelpStyleCount; ++s) {
    for (int c = 0; c < 256; ++c) {
      int w = s == kHelpFixedStyle ? 8 : 7;
      if (s != kHelpFixedStyle && (c == 'i' || c == 'l' || c == '.' || c == ',')) w = 3;
      if (s != kHelpFixedStyle && (c == 'm' || c == 'w' || c == 'M' || c == 'W')) w = 11;
      if (s == kHelpHeadingStyle) w += 3;
      m.fonts[s].widths[c] = w;
    }
    m.fonts[s].widths[' '] = s == kHelpFixedStyle ? 8 : 4;
    m.fonts[s].lineHeight = s == kHelpHeadingStyle ? 24 : 16;
  }
  m.margin = 6;
  m.indent = 14;
  return m;
}

int TextWidth(const HelpLayoutMetrics &m, int style, const std::string &text) {
  int w = 0;
  for (char c : text) w += m.fonts[style].widths[static_cast<unsigned char>(c)];
  return w;
}

std::string LineText(const HelpLayout &l, int i) {
  std::string text;
  for (int r = l.lines[i].firstRun; r < l.lines[i].firstRun + l.lines[i].runCount; ++r) {
    text.append(l.runs[r].text, static_cast<std::size_t>(l.runs[r].length));
  }
  return text;
}

// Every wrapped line of a block is as full as it can be: the first word of the line after
// it would not have fitted at its end. Checked from the runs' texts and places alone.
void ExpectNoShortLines(const HelpLayout &l, const HelpLayoutMetrics &m, int width) {
  for (int i = 0; i + 1 < l.lineCount; ++i) {
    const HelpLine &line = l.lines[i];
    const HelpLine &next = l.lines[i + 1];
    if (line.block != next.block || line.style == kHelpFixedStyle || line.runCount == 0) continue;
    const HelpRun &last = l.runs[line.firstRun + line.runCount - 1];
    const int end = last.x + last.width;
    EXPECT_LE(end, width - m.margin) << "line " << i << " runs over: " << LineText(l, i);
    std::string nextText = LineText(l, i + 1);
    const std::string nextWord = nextText.substr(0, nextText.find(' '));
    const int space = m.fonts[line.style].widths[' '];
    EXPECT_GT(end + space + TextWidth(m, line.style, nextWord), width - m.margin)
        << "width " << width << ": \"" << LineText(l, i) << "\" ends short; \"" << nextWord
        << "\" would fit";
  }
}

TEST(HelpLayout, ProseWrapsFullAtTwoWidthsBulletsHangAndColumnsStay) {
  HelpDocument d = Parse(ShippedHelpFile());
  const HelpLayoutMetrics m = TestMetrics();
  for (int width : {300, 520}) {
    for (int t = 0; t < d.count; ++t) {
      HelpLayout l{};
      ASSERT_TRUE(LayOutHelpPage(d.topics[t].title, d.topics[t].body, &d, m, width, &l));
      ExpectNoShortLines(l, m, width);
      EXPECT_EQ(l.lines[0].block, -1) << "the title comes first, as a heading";
      EXPECT_EQ(l.lines[0].style, kHelpHeadingStyle);
      for (int i = 0; i < l.lineCount; ++i) {
        const HelpLine &line = l.lines[i];
        if (line.runCount == 0 || line.block < 0) continue;
        const HelpRun &first = l.runs[line.firstRun];
        const char kind = [&] {  // the kind of the line's block
          const char *p = d.topics[t].body;
          for (int b = 0; b < line.block; ++b) p = std::strchr(p, '\n') + 1;
          return *p;
        }();
        if (kind == kHelpBullet) {
          const bool firstLine = i == 0 || l.lines[i - 1].block != line.block;
          EXPECT_EQ(first.x, firstLine ? m.margin : m.margin + m.indent) << LineText(l, i);
          if (firstLine) {
            EXPECT_EQ(first.text, kHelpBulletText);
          }
        } else if (kind == kHelpColumns) {
          EXPECT_EQ(line.style, kHelpFixedStyle);
          EXPECT_EQ(first.x, m.margin);
        } else {
          EXPECT_EQ(first.x, m.margin);
        }
      }
      FreeHelpLayout(&l);
    }
  }
  FreeHelpDocument(&d);
}

TEST(HelpLayout, LinksAreFoundWhereTheyAreDrawnAcrossLines) {
  HelpDocument d = Parse(
      "== a | Alpha\nSee [[b|the long link text that wraps]], or [[b]] here.\n"
      "== b | Beta topic\nText.\n");
  const HelpLayoutMetrics m = TestMetrics();
  HelpLayout l{};
  ASSERT_TRUE(LayOutHelpPage(d.topics[0].title, d.topics[0].body, &d, m, 150, &l));
  ASSERT_EQ(l.linkCount, 2);
  ExpectNoShortLines(l, m, 150);
  const HelpLink &wrapped = l.links[0];
  EXPECT_EQ(std::string(wrapped.target, static_cast<std::size_t>(wrapped.targetLength)), "b");
  std::string shown;
  std::vector<int> ys;
  for (int r = wrapped.firstRun; r < wrapped.firstRun + wrapped.runCount; ++r) {
    shown.append(l.runs[r].text, static_cast<std::size_t>(l.runs[r].length));
    if (ys.empty() || ys.back() != l.runs[r].y) ys.push_back(l.runs[r].y);
    EXPECT_EQ(HelpLinkAt(l, l.runs[r].x + 1, l.runs[r].y + 1), 0);
  }
  EXPECT_GT(ys.size(), 1u) << "the link spans lines";
  EXPECT_EQ(shown.find("the long link"), 0u);
  std::string titled;  // a blank where it wraps
  for (int r = l.links[1].firstRun; r < l.links[1].firstRun + l.links[1].runCount; ++r) {
    if (r > l.links[1].firstRun && l.runs[r].y != l.runs[r - 1].y) titled += ' ';
    titled.append(l.runs[r].text, static_cast<std::size_t>(l.runs[r].length));
  }
  EXPECT_EQ(titled, "Beta topic") << "a link without text shows its topic's title";
  EXPECT_EQ(HelpLinkAt(l, 1, 1), -1);
  EXPECT_EQ(HelpLinkAt(l, m.margin + 1, l.height + 10), -1);
  FreeHelpLayout(&l);
  FreeHelpDocument(&d);
}

// What a screen reader is given: the same text at any width, links by what they show.
TEST(HelpLayout, PlainTextIsWhatThePageShowsAtAnyWidth) {
  HelpDocument d = Parse(
      "== a | Alpha\nSee [[b|the long link text that wraps]], or [[b]] here.\n\n- one item\n"
      "- two\n\n  Key  [[b|F5]]\n== b | Beta topic\n");
  const std::string want =
      "See the long link text that wraps, or Beta topic here.\n\n\x95 one item\n\x95 two\n\n"
      "Key  F5";
  const HelpLayoutMetrics m = TestMetrics();
  for (int width : {90, 150, 2000}) {
    HelpLayout l{};
    ASSERT_TRUE(LayOutHelpPage(d.topics[0].title, d.topics[0].body, &d, m, width, &l));
    char text[200];
    EXPECT_EQ(HelpLayoutPlainText(l, text, sizeof text), want.size());
    EXPECT_EQ(text, want) << "width " << width;
    char cut[8];
    EXPECT_EQ(HelpLayoutPlainText(l, cut, sizeof cut), want.size());
    EXPECT_EQ(std::string(cut), want.substr(0, 7)) << "cut short, and ended";
    FreeHelpLayout(&l);
  }
  FreeHelpDocument(&d);
}

}  // namespace
