// The growable text, the character rules and the name hashing that the help parser, its
// lookups and the pages it makes share; for help/ only. Portable; plain C memory, so that the program needs no C++ library
// support. The small steps are inline: the parser takes them once per character of the file.
#pragma once

#include <cstddef>
#include <cstring>

namespace help_buffer {

// A growable text; its parts are remembered as offsets, since growing may move it. Once a
// growth fails, nothing more is written and `failed` stays set.
struct Buffer {
  char *data;
  std::size_t used;
  std::size_t capacity;
  bool failed;
};

// Room for `more` bytes after `used`; false (and `failed` set) when there is no memory.
bool Reserve(Buffer *b, std::size_t more);

inline void Append(Buffer *b, const char *text, std::size_t length) {
  if (length == 0 || !Reserve(b, length)) return;
  std::memcpy(b->data + b->used, text, length);
  b->used += length;
}

inline void AppendChar(Buffer *b, char c) { Append(b, &c, 1); }
inline void AppendText(Buffer *b, const char *text) { Append(b, text, std::strlen(text)); }
inline char LastChar(const Buffer *b) { return b->used > 0 ? b->data[b->used - 1] : '\0'; }

inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
// Control characters (tabs included) count as blanks: they never reach a body.
inline bool IsBlank(char c) { return c == ' ' || (static_cast<unsigned char>(c) < 0x20); }
inline char Clean(char c) { return IsBlank(c) ? ' ' : c; }

inline void Trim(const char **begin, const char **end) {
  while (*begin < *end && IsBlank(**begin)) ++*begin;
  while (*end > *begin && IsBlank((*end)[-1])) --*end;
}

// Text with every run of blanks as one blank (the caller trims), lower case if asked.
void AppendCollapsed(Buffer *b, const char *begin, const char *end, bool lower);

// Ids and keywords compare with ASCII case ignored and a run of blanks as one blank; the
// hash follows the same rule. The tables are open-addressed, a power of two in size, with
// -1 for an empty slot; InsertName puts `value` in the first empty slot from the hash on.
std::size_t HashName(const char *begin, const char *end);
void InsertName(int *table, std::size_t size, std::size_t hash, int value);

}  // namespace help_buffer
