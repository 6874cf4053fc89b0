// Reading a text file whole (the city file, the help file) and decoding a city file to ANSI
// text. Portable.
#include "location/file_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "location/city_parts.h"
#include "support/hooks.h"

namespace {

constexpr std::uint16_t kReplacement = 0xFFFD;  // stands for a broken UTF-8 sequence
constexpr char kCtrlZ = 0x1A;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the well-formed UTF-8 sequence at `b` (n bytes left) and its length;
// -1 (length 1) when the sequence is broken, overlong, a surrogate or beyond U+10FFFF.
long NextUtf8(const unsigned char *b, std::size_t n, std::size_t *length) {
  *length = 1;
  const unsigned char c = b[0];
  if (c < 0x80) return c;
  std::size_t count;
  long code;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    count = 1;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    count = 2;
    code = c & 0x0F;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    count = 3;
    code = c & 0x07;
    if (c == 0xF0) low = 0x90;   // overlong
    if (c == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return -1;
  }
  if (n <= count || b[1] < low || b[1] > high) return -1;
  for (std::size_t i = 1; i <= count; ++i) {
    if (!IsContinuation(b[i])) return -1;
    code = (code << 6) | (b[i] & 0x3F);
  }
  *length = count + 1;
  return code;
}

bool HasNonAscii(const unsigned char *b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (b[i] >= 0x80) return true;
  }
  return false;
}

bool IsWellFormedUtf8(const unsigned char *b, std::size_t n) {
  for (std::size_t i = 0; i < n;) {
    std::size_t length = 0;
    if (NextUtf8(b + i, n - i, &length) < 0) return false;
    i += length;
  }
  return true;
}

// Replaces the text by the ANSI form of `units`; false when the platform could not convert
// them all (the text is then empty) or replaced a character.
bool ReplaceWithAnsi(FileText *text, const std::uint16_t *units, std::size_t count) {
  // At most three bytes per unit, whatever the code page (UTF-8 as the ANSI code page).
  char *ansi = count < SIZE_MAX / 4 ? static_cast<char *>(std::malloc(count * 3 + 1)) : nullptr;
  bool lossy = false;
  const long written = ansi != nullptr ? g_platform.wideToAnsi(units, count, ansi, count * 3, &lossy) : -1;
  if (written < 0) {
    std::free(ansi);
    text->size = 0;
    if (text->bytes != nullptr) text->bytes[0] = '\0';
    return false;
  }
  ansi[written] = '\0';
  std::free(text->bytes);
  text->bytes = ansi;
  text->size = static_cast<std::size_t>(written);
  return !lossy;
}

bool DecodeUtf16(FileText *text, bool bigEndian) {
  const unsigned char *b = reinterpret_cast<const unsigned char *>(text->bytes) + 2;
  const std::size_t count = (text->size - 2) / 2;
  bool whole = (text->size - 2) % 2 == 0;
  std::uint16_t *units = static_cast<std::uint16_t *>(std::malloc((count + 1) * sizeof *units));
  if (units == nullptr) {
    text->size = 0;
    text->bytes[0] = '\0';
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned first = b[2 * i];
    const unsigned second = b[2 * i + 1];
    units[i] = static_cast<std::uint16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  whole = ReplaceWithAnsi(text, units, count) && whole;
  std::free(units);
  return whole;
}

bool DecodeUtf8(FileText *text, std::size_t start) {
  const unsigned char *b = reinterpret_cast<const unsigned char *>(text->bytes) + start;
  const std::size_t n = text->size - start;
  // Never more units than bytes: one unit for up to three bytes, two for four.
  std::uint16_t *units = static_cast<std::uint16_t *>(std::malloc((n + 1) * sizeof *units));
  if (units == nullptr) {
    text->size = 0;
    text->bytes[0] = '\0';
    return false;
  }
  bool whole = true;
  std::size_t count = 0;
  for (std::size_t i = 0; i < n;) {
    std::size_t length = 0;
    long code = NextUtf8(b + i, n - i, &length);
    i += length;
    if (code < 0) {
      code = kReplacement;
      whole = false;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      units[count++] = static_cast<std::uint16_t>(0xD800 + (code >> 10));
      units[count++] = static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF));
    } else {
      units[count++] = static_cast<std::uint16_t>(code);
    }
  }
  whole = ReplaceWithAnsi(text, units, count) && whole;
  std::free(units);
  return whole;
}

}  // namespace

TextForm TextFormOf(const char *bytes, std::size_t size) {
  const unsigned char *b = reinterpret_cast<const unsigned char *>(bytes);
  if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return TextForm::kUtf8Marked;
  if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) return TextForm::kUtf16Le;
  if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) return TextForm::kUtf16Be;
  // An ANSI name such as Z\xFCrich is not well-formed UTF-8; real names that are both are
  // hardly to be met.
  if (HasNonAscii(b, size) && IsWellFormedUtf8(b, size)) return TextForm::kUtf8;
  return TextForm::kAnsi;
}

bool ReadAllBytes(std::FILE *file, FileText *text) {
  text->bytes = nullptr;
  text->size = 0;
  std::size_t capacity = 0;
  for (;;) {
    if (text->size + 1 >= capacity) {
      const std::size_t grown = capacity == 0 ? 4096 : capacity * 2;
      char *bytes = grown > capacity ? static_cast<char *>(std::realloc(text->bytes, grown)) : nullptr;
      if (bytes == nullptr) {
        if (text->bytes != nullptr) text->bytes[text->size] = '\0';
        return false;  // the rest of a monstrous file is not read
      }
      text->bytes = bytes;
      capacity = grown;
    }
    const std::size_t n = std::fread(text->bytes + text->size, 1, capacity - 1 - text->size, file);
    text->size += n;
    if (n == 0) break;
  }
  text->bytes[text->size] = '\0';
  // Only the end of the file ends the reading well; some C libraries report a stream that
  // cannot be read by returning nothing, without an error.
  return std::feof(file) != 0 && std::ferror(file) == 0;
}

bool DecodeToAnsi(FileText *text) {
  if (text->bytes == nullptr) return text->size == 0;
  bool whole = true;
  switch (TextFormOf(text->bytes, text->size)) {
    case TextForm::kAnsi:
      break;
    case TextForm::kUtf8:
      whole = DecodeUtf8(text, 0);
      break;
    case TextForm::kUtf8Marked:
      if (HasNonAscii(reinterpret_cast<const unsigned char *>(text->bytes) + 3, text->size - 3)) {
        whole = DecodeUtf8(text, 3);
      } else {
        text->size -= 3;
        std::memmove(text->bytes, text->bytes + 3, text->size + 1);
      }
      break;
    case TextForm::kUtf16Le:
      whole = DecodeUtf16(text, false);
      break;
    case TextForm::kUtf16Be:
      whole = DecodeUtf16(text, true);
      break;
  }
  if (text->size > 0 && text->bytes[text->size - 1] == kCtrlZ) text->bytes[--text->size] = '\0';
  // A NUL byte is no text: the rest of its line would be lost.
  if (std::memchr(text->bytes, '\0', text->size) != nullptr) whole = false;
  return whole;
}

FileStamp StartFileStamp() { return FileStamp{true, 0, 0xCBF29CE484222325ull}; }

void AddToFileStamp(FileStamp *stamp, const char *bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    stamp->hash = (stamp->hash ^ static_cast<unsigned char>(bytes[i])) * 0x100000001B3ull;
  }
  stamp->size += size;
}

bool SameFileStamp(const FileStamp &a, const FileStamp &b) {
  return a.taken && b.taken && a.size == b.size && a.hash == b.hash;
}
