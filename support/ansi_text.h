// Walking and cutting text of the ANSI code page by characters, not bytes: in a double-byte
// code page (932, 936, 949, 950) the second byte of a character may be '|' or an ASCII
// letter. Portable: the platform gives the code page's lead bytes as data (support/hooks.h).
#pragma once

#include <cstddef>

// Bytes of the character that begins at `s` (1 for a single-byte character, the end of the
// text, or a lead byte whose character the terminator cuts short).
std::size_t AnsiCharLength(const char *s);

// The first character equal to the single-byte character `c`, or null.
const char *FindAnsiChar(const char *s, char c);

// Cuts `s` to at most `maxBytes` bytes, never inside a character.
void CutAnsiText(char *s, std::size_t maxBytes);
