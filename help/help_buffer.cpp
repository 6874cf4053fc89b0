// The growable text of the help parser and its pages: growing it, and collapsing blanks.
// Portable.
#include "help/help_buffer.h"

#include <cstdlib>

namespace help_buffer {

bool Reserve(Buffer *b, std::size_t more) {
  if (b->failed) return false;
  if (b->used + more <= b->capacity) return true;
  std::size_t capacity = b->capacity < 256 ? 256 : b->capacity;
  while (capacity < b->used + more) capacity *= 2;
  char *grown = static_cast<char *>(std::realloc(b->data, capacity));
  if (grown == nullptr) {
    b->failed = true;
    return false;
  }
  b->data = grown;
  b->capacity = capacity;
  return true;
}

void AppendCollapsed(Buffer *b, const char *begin, const char *end, bool lower) {
  bool blank = false;
  for (const char *p = begin; p < end; ++p) {
    if (IsBlank(*p)) {
      blank = true;
      continue;
    }
    if (blank) AppendChar(b, ' ');
    blank = false;
    AppendChar(b, lower ? LowerAscii(*p) : *p);
  }
}

}  // namespace help_buffer
