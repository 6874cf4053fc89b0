// The tests' one reader of a whole file, shared by the native and the Wine builds. Portable.
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

// The bytes of the file at `path`, read in binary; false when it cannot be opened.
inline bool ReadWholeFile(const char *path, std::string *bytes) {
  bytes->clear();
  std::FILE *f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  *bytes = StreamText(f);
  std::fclose(f);
  return true;
}
