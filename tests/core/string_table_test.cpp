// The test platform's copy of the string table against the resource script's STRINGTABLE,
// every id and text both ways, so that the two cannot drift apart. Portable.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>

#include "fake_platform.h"
#include "test_files.h"

namespace {

std::string ReadWhole(const char *name) {
  std::string text;
  EXPECT_TRUE(ReadShippedFile(name, &text)) << name;
  return text;
}

// A quoted text of the script as LoadStringA gives it: escapes resolved, and the script's
// UTF-8 in Windows-1252, which agrees with Latin-1 from U+00A0 up. Empty with `bad` set for
// what this reader does not know.
std::string ProgramText(const std::string &quoted, bool *bad) {
  std::string out;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(quoted[i]);
    const char next = i + 1 < quoted.size() ? quoted[i + 1] : '\0';
    if (c == '\\' || (c == '"' && next == '"')) {
      ++i;
      out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
      *bad = *bad || (c == '\\' && std::string("tn\\\"").find(next) == std::string::npos);
    } else if (c == 0xC2 || c == 0xC3) {  // a two-byte sequence of U+0080 to U+00FF
      out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(next) & 0x3F));
      *bad = *bad || (c == 0xC2 && static_cast<unsigned char>(next) < 0xA0);
      ++i;
    } else {
      out += static_cast<char>(c);
      *bad = *bad || c >= 0x80;
    }
  }
  return out;
}

TEST(StringTable, TheTestPlatformsCopyHoldsEveryIdAndTextOfTheResourceScript) {
  std::map<std::string, int> ids;
  const std::string header = ReadWhole("resource_ids.h");
  const std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
  for (std::sregex_iterator m(header.begin(), header.end(), define), e; m != e; ++m) {
    ids[(*m)[1]] = std::stoi((*m)[2]);
  }
  const std::string script = ReadWhole("orvane.rc");
  const std::size_t begin = script.find("BEGIN", script.find("\nSTRINGTABLE"));
  ASSERT_NE(begin, std::string::npos);
  const std::string table = script.substr(begin, script.find("\nEND", begin) + 1 - begin);
  std::map<int, std::string> texts;
  const std::regex row(R"(\n\s*(\w+)\s*,\s*\"(.*)\"\s*(?=\r?\n))");
  for (std::sregex_iterator m(table.begin(), table.end(), row), e; m != e; ++m) {
    const std::string name = (*m)[1];
    const bool numbered = std::isdigit(static_cast<unsigned char>(name[0])) != 0;
    ASSERT_TRUE(numbered || ids.count(name) != 0) << name << " is not in resource_ids.h";
    bool bad = false;
    texts[numbered ? std::stoi(name) : ids[name]] = ProgramText((*m)[2], &bad);
    EXPECT_FALSE(bad) << "a text of " << name << " this test cannot read";
  }
  ASSERT_GT(texts.size(), 50u);

  const std::map<int, std::string> &copy = StringTableTexts();
  for (const auto &[id, text] : texts) {
    const auto found = copy.find(id);
    EXPECT_TRUE(found != copy.end()) << id << " \"" << text << "\" is not in the test platform";
    if (found != copy.end()) {
      EXPECT_EQ(found->second, text) << "string " << id;
    }
  }
  for (const auto &[id, text] : copy) {
    EXPECT_EQ(texts.count(id), 1u) << id << " \"" << text << "\" is not in the resource script";
  }
}

}  // namespace
