// The city database file's text: one line with the current city name, then a line per
// city of seven |-separated fields. Reading and writing over standard C streams. Portable.
#pragma once

#include <cstdio>

#include "location/file_text.h"
#include "location/location.h"

// Reads the file into the (empty) city table and fills the current Location. A file that
// yields no city gives the one row "No name", made current. Never sets the changed flag.
// The stream is read in binary, whole, and decoded (see file_text.h); line ends are CR LF,
// LF or CR. False when the file could not be read or decoded whole: the table then lacks
// something the file holds. `stamp`, when given, gets the stamp of the bytes read (not taken
// when the reading stopped early).
bool ReadCityFile(std::FILE *file, Location *location, FileStamp *stamp = nullptr);

// The fallback when there is no readable city: the single "No name" row, made current.
void StoreNoNameCity(Location *location);

// Writes the current city name and every row; false at the first write that fails.
bool WriteCityFile(std::FILE *file);
