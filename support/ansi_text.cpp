// Characters of the ANSI code page. Portable.
#include "support/ansi_text.h"

#include <cstring>

#include "support/hooks.h"

std::size_t AnsiCharLength(const char *s) {
  const unsigned length = g_platform.ansiCharBytes[static_cast<unsigned char>(s[0])];
  if (s[0] == '\0' || length <= 1) return 1;
  // A character cut short by the end of the text counts as its bytes up to the end.
  std::size_t n = 1;
  while (n < length && s[n] != '\0') ++n;
  return n;
}

const char *FindAnsiChar(const char *s, char c) {
  for (; *s != '\0'; s += AnsiCharLength(s)) {
    if (*s == c) return s;
  }
  return nullptr;
}

void CutAnsiText(char *s, std::size_t maxBytes) {
  std::size_t at = 0;
  while (s[at] != '\0') {
    const std::size_t length = AnsiCharLength(s + at);
    if (at + length > maxBytes) break;
    at += length;
  }
  s[at] = '\0';
}
