// The city database file ZORKEL.DAT beside the executable: loaded at start-up, saved through
// CITIES.NEW and one atomic replace, and offered for saving at close. Win32.
#pragma once

#include <cstdio>

#include "location/location.h"

// Loads ZORKEL.DAT into the (empty) city table and fills the current Location. A file that
// cannot be opened gives warning 41 and the one city "No name".
void LoadCityDatabase(Location *location);

// Writes the table to CITIES.NEW, flushes it to disk and puts it in ZORKEL.DAT's place in one
// step, waiting a moment for a ZORKEL.DAT or ZORKEL.BAK that another program holds. On
// success the table-changed flag is cleared; on any failure a warning is shown (naming the
// folder when it cannot be written), CITIES.NEW is gone, and ZORKEL.DAT and the flag are
// left as they were. A released table is never written.
void SaveCityDatabase();

// When the table has changed, asks "Save city location database?" and saves on Yes.
void OfferToSaveCityDatabase();
