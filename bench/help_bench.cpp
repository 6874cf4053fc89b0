// Times the help engine on large help files: a 10 MB file of 100,000 topics, one topic of a
// single 1 MB line and one of a 200 KB paragraph. Natively and under Wine it times parsing
// and the layout of the largest page; under Wine it also times the real help window opening
// each file (HELP_FINDER, the index of every keyword) and a second command on it. Prints one
// line per case: "help CASE MEDIAN ms" (median of five rounds).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "help/help_layout.h"
#include "help/help_text.h"
#ifdef _WIN32
#include <windows.h>

#include "help/help_probe.h"
#include "help/help_window.h"
#include "support/win32_hooks.h"
#endif

namespace {

// 100,000 small topics that link to each other, filled out to 10 MB.
std::string ManyTopics() {
  const std::size_t total = 10u << 20;
  const int count = 100000;
  std::string text;
  text.reserve(total + 256);
  char line[256];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line,
                  "== t%d | Topic %d\r\nkeywords: word%d; shared %d\r\n"
                  "Topic %d leads to [[t%d]] and [[t%d|another]].\r\n- a bullet\r\n  Key  Value\r\n",
                  i, i, i, i % 97, i, (i + 1) % count, i / 2);
    text += line;
    const std::size_t goal = total / static_cast<std::size_t>(count) * static_cast<std::size_t>(i + 1);
    while (text.size() + 6 < goal) text += "more ";
    text += "\r\n";
  }
  return text;
}

std::string OneTopic(const char *title, std::size_t bytes, bool oneLine) {
  std::string text = std::string("== big | ") + title + "\r\nkeywords: big\r\n";
  const char *words[] = {"sidereal ", "time ", "follows ", "the ", "stars, ", "not ", "[[big|a link]] ", "Sun. "};
  for (int i = 0; text.size() < bytes; ++i) {
    text += words[i % 8];
    if (!oneLine && i % 12 == 11) text += "\r\n";
  }
  return text + "\r\n";
}

template <typename F>
double MedianMs(F f) {
  std::vector<double> times;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    f();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[2];
}

HelpLayoutMetrics Metrics() {
  HelpLayoutMetrics m{};
  for (int s = 0; s < kHelpStyleCount; ++s) {
    for (int c = 0; c < 256; ++c) m.fonts[s].widths[c] = 6 + c % 4;
    m.fonts[s].lineHeight = 16;
  }
  m.margin = 10;
  m.indent = 18;
  return m;
}

void TimeCore(const char *name, const std::string &text) {
  const double parse = MedianMs([&] {
    HelpDocument d{};
    ParseHelpText(text.data(), text.size(), &d);
    FreeHelpDocument(&d);
  });
  HelpDocument d{};
  ParseHelpText(text.data(), text.size(), &d);
  int largest = 0;
  for (int t = 1; t < d.count; ++t) {
    if (std::char_traits<char>::length(d.topics[t].body) > std::char_traits<char>::length(d.topics[largest].body)) largest = t;
  }
  const HelpLayoutMetrics m = Metrics();
  const double layout = MedianMs([&] {
    HelpLayout l{};
    LayOutHelpPage(d.topics[largest].title, d.topics[largest].body, &d, m, 600, &l);
    FreeHelpLayout(&l);
  });
  const double index = MedianMs([&] {
    HelpPage page{};
    BuildHelpIndexPage(d, &page);
    HelpLayout l{};
    LayOutHelpPage("Index", page.body, &d, m, 600, &l);
    FreeHelpLayout(&l);
    FreeHelpPage(&page);
  });
  FreeHelpDocument(&d);
  std::printf("help %s-parse %.1f ms\n", name, parse);
  std::printf("help %s-layout %.1f ms\n", name, layout);
  std::printf("help %s-index %.1f ms\n", name, index);
}

#ifdef _WIN32
// The real window: the first command reads, parses and shows the index; the second finds a
// keyword in the file already read.
void TimeWindow(const char *name, const std::string &text) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "orvane-help-bench.hlp";
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  const std::wstring wide(path.begin(), path.end());  // the temporary folder's path is ASCII here
  const double first = MedianMs([&] {
    ShowHelp(nullptr, wide.c_str(), HELP_FINDER, 0);
    UpdateWindow(HelpTextView());
    ShowHelp(nullptr, wide.c_str(), HELP_QUIT, 0);
  });
  ShowHelp(nullptr, wide.c_str(), HELP_FINDER, 0);
  const double second = MedianMs([&] {
    ShowHelp(nullptr, wide.c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>("big"));
    UpdateWindow(HelpTextView());
  });
  ShowHelp(nullptr, wide.c_str(), HELP_QUIT, 0);
  DeleteFileA(path.c_str());
  std::printf("help %s-window-open %.1f ms\n", name, first);
  std::printf("help %s-window-second %.1f ms\n", name, second);
}
#endif

}  // namespace

int main() {
#ifdef _WIN32
  InstallWin32Hooks(GetModuleHandleA(nullptr));
#endif
  const struct {
    const char *name;
    std::string text;
  } cases[] = {
      {"10MB-100000-topics", ManyTopics()},
      {"1MB-line", OneTopic("One line of a megabyte", 1u << 20, true)},
      {"200KB-paragraph", OneTopic("A paragraph of 200 KB", 200u << 10, false)},
  };
  for (const auto &c : cases) {
    TimeCore(c.name, c.text);
#ifdef _WIN32
    TimeWindow(c.name, c.text);
#endif
  }
  return 0;
}
