// Keeping the cities another clock (or an editor) put in the city file since this clock last
// read or wrote it, so that a save never drops them. Portable.
#pragma once

#include <cstdio>

#include "location/file_text.h"

// Reads the city file as it is now. When its bytes differ from `known` (the stamp of what
// this clock last loaded or saved), every city of it whose name no row of the table has
// joins the table after its rows, in the file's order: for a name both have, this clock's
// row wins. The current city and the table-changed flag stay as they are, since the joined
// cities are in the file already. `known` then becomes the file's stamp. Returns how many
// cities joined, or -1 when there was no memory for them (the table is then as it was).
int JoinCitiesOfChangedFile(std::FILE *file, FileStamp *known);
