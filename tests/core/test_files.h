// The tests' shared file helpers (a whole file or a shipped one read, a stream of given bytes,
// text as UTF-16 bytes), for the native and the Wine builds. Portable.
#pragma once

#include <cstdio>
#include <string>

// Every byte of the open stream, from its start.
inline std::string StreamText(std::FILE *f) {
  std::string bytes;
  std::rewind(f);
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
    bytes.append(buffer, got);
  }
  return bytes;
}

// A temporary stream holding `text`, rewound to its start; the caller closes it.
inline std::FILE *StreamOfText(const std::string &text) {
  std::FILE *f = std::tmpfile();
  if (f == nullptr) return nullptr;
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

// `text` as the bytes of UTF-16, little- or big-endian, after its byte-order mark.
inline std::string Utf16Bytes(const std::u16string &text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// The bytes of the file at `path`, read in binary; false when it cannot be opened.
inline bool ReadWholeFile(const char *path, std::string *bytes) {
  bytes->clear();
  std::FILE *f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  *bytes = StreamText(f);
  std::fclose(f);
  return true;
}

// The bytes of a file that ships in resources/, as the test program sees the source tree
// (Wine shows / as Z:); false when it cannot be opened.
inline bool ReadShippedFile(const char *name, std::string *bytes) {
#ifdef _WIN32
  const std::string folder = "Z:" ORVANE_SOURCE_DIR "/resources/";
#else
  const std::string folder = ORVANE_SOURCE_DIR "/resources/";
#endif
  return ReadWholeFile((folder + name).c_str(), bytes);
}
