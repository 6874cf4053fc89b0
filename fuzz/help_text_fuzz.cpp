// Fuzzes the help file: any bytes must parse without undefined behaviour into well-formed
// bodies, and every topic, the index and a search must lay out at any width with every run
// on its line and every link findable where it is drawn.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "help/help_layout.h"
#include "help/help_text.h"

namespace {

void Fail(int line, const char *what) {
  std::fprintf(stderr, "check failed at line %d: %s\n", line, what);
  std::abort();
}
#define Check(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))

// A body is blocks of a known kind, each ended by '\n', with links opened and closed in turn.
void CheckBody(const char *body) {
  for (const char *p = body; *p != '\0';) {
    Check(*p == kHelpParagraph || *p == kHelpBullet || *p == kHelpColumns || *p == kHelpGap);
    int state = 0;  // 0 text, 1 target, 2 shown text
    for (++p; *p != '\n'; ++p) {
      Check(*p != '\0');
      if (*p == kHelpLinkStart) { Check(state == 0); state = 1; }
      else if (*p == kHelpLinkText) { Check(state == 1); state = 2; }
      else if (*p == kHelpLinkEnd) { Check(state == 2); state = 0; }
      else Check(static_cast<unsigned char>(*p) >= 0x20);
    }
    Check(state == 0);
    ++p;
  }
}

void CheckLayout(const char *title, const char *body, const HelpDocument &d, int width) {
  HelpLayoutMetrics m{};
  for (int s = 0; s < kHelpStyleCount; ++s) {
    for (int c = 0; c < 256; ++c) m.fonts[s].widths[c] = 3 + (c * 7 + s) % 9;
    m.fonts[s].lineHeight = 10 + 4 * s;
  }
  m.margin = 4;
  m.indent = 12;
  HelpLayout l{};
  if (!LayOutHelpPage(title, body, &d, m, width, &l)) return;
  int expectedRun = 0;
  for (int i = 0; i < l.lineCount; ++i) {
    const HelpLine &line = l.lines[i];
    Check(line.firstRun == expectedRun && line.runCount >= 0);
    if (i > 0) Check(line.y >= l.lines[i - 1].y + l.lines[i - 1].height);
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      const HelpRun &run = l.runs[r];
      Check(run.y == line.y && run.length > 0 && run.x + run.width <= l.width);
      if (run.link >= 0) {
        Check(run.link < l.linkCount);
        if (run.width > 0) Check(HelpLinkAt(l, run.x, run.y) == run.link);
      }
    }
    expectedRun += line.runCount;
  }
  Check(expectedRun == l.runCount && l.height >= m.margin);
  // What a screen reader is given: as snprintf, its whole length and an ended cut of it.
  char cut[16];
  const std::size_t whole = HelpLayoutPlainText(l, cut, sizeof cut);
  Check(std::strlen(cut) == (whole < sizeof cut ? whole : sizeof cut - 1));
  for (int k = 0; k < l.linkCount; ++k) {
    const HelpLink &link = l.links[k];
    Check(link.firstRun >= 0 && link.firstRun + link.runCount <= l.runCount && link.targetLength > 0);
    ResolveHelpLink(d, link.target, static_cast<std::size_t>(link.targetLength));
  }
  FreeHelpLayout(&l);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const char *text = reinterpret_cast<const char *>(data);
  HelpDocument d{};
  if (!ParseHelpText(text, size, &d)) return 0;
  const int width = size > 0 ? data[0] * 2 : 100;
  for (int t = 0; t < d.count && t < 6; ++t) {
    CheckBody(d.topics[t].body);
    if (d.topics[t].id[0] != '\0') Check(FindHelpTopicById(d, d.topics[t].id) >= 0);
    CheckLayout(d.topics[t].title, d.topics[t].body, d, width);
  }
  for (int k = 0; k < d.keywordCount; ++k) Check(FindHelpTopicByKeyword(d, d.keywords[k].text) >= 0);
  HelpPage page{};
  if (BuildHelpIndexPage(d, &page)) {
    CheckBody(page.body);
    CheckLayout("Index", page.body, d, width);
    FreeHelpPage(&page);
  }
  // The search asks for the words of the last topic's title.
  int found = 0;
  if (d.count > 0 && BuildHelpSearchPage(d, d.topics[d.count - 1].title, "none", &page, &found)) {
    Check(found >= 1);
    CheckBody(page.body);
    CheckLayout("Search", page.body, d, width);
    FreeHelpPage(&page);
  }
  FreeHelpDocument(&d);
  return 0;
}
