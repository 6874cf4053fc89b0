// A text file read whole (the city file and the help file), and the city file's bytes as the
// program's single-byte (ANSI) text, whatever form an editor saved them in: ANSI, UTF-8 with
// or without its mark, UTF-16 with its mark. Portable: the conversion to the ANSI code page
// goes through the platform hook.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// A block of the C heap holding `size` bytes and a terminating NUL after them.
struct FileText {
  char *bytes;
  std::size_t size;
};

// Reads the stream to its end into `text` (empty when nothing could be read). False when it
// stopped early: a read error, or no memory for the rest.
bool ReadAllBytes(std::FILE *file, FileText *text);

// Replaces the bytes with their ANSI text, without the byte-order mark or a last Ctrl-Z (the
// old end-of-file mark). False when some of it could not be decoded whole: a character with
// no ANSI form, a broken sequence, an odd last byte of UTF-16, a NUL byte, no memory.
bool DecodeToAnsi(FileText *text);

// What a file held, in brief: its length and a 64-bit FNV-1a hash of its bytes. A file's
// time cannot tell whether another clock or an editor has written it since: FAT keeps it to
// two seconds, and a copied file keeps the old one. Two stamps match only when both were
// taken over the same bytes.
struct FileStamp {
  bool taken;
  std::uint64_t size;
  std::uint64_t hash;
};

// The stamp of no bytes yet, taken; AddToFileStamp then adds the file's bytes in order.
FileStamp StartFileStamp();
void AddToFileStamp(FileStamp *stamp, const char *bytes, std::size_t size);
bool SameFileStamp(const FileStamp &a, const FileStamp &b);
