// Growing a realloc'd array by doubling, for the help text and its layout. Portable; plain C
// memory, so that the program needs no C++ library support.
#pragma once

#include <cstdlib>

// Makes room for one more element at `count` in `*array` of `*capacity` elements, doubling it
// (from 16) when full. False, with the array untouched, when there is no memory for it.
template <typename T>
bool GrowArray(T **array, int *capacity, int count) {
  if (count < *capacity) return true;
  const int more = *capacity == 0 ? 16 : *capacity * 2;
  void *grown = std::realloc(*array, static_cast<std::size_t>(more) * sizeof(T));
  if (grown == nullptr) return false;
  *array = static_cast<T *>(grown);
  *capacity = more;
  return true;
}
