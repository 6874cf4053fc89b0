// The question put to the user when the city's zone gives another Universal Time than the
// computer's clock: take UT from Windows? Asked once per city in a run. Portable: the box
// comes through the platform hooks.
#pragma once

#include "location/location.h"

// Asks, owned by `owner`, when UT is not already taken from the computer, the city's UT
// differs from the computer's UTC by a minute or more, and the user has not said No for
// this city in this run. Returns true when the user said Yes; a No is remembered.
bool AskToTakeUniversalTimeFromComputer(void *owner, const Location &location);

// Forgets every No (a new run).
void ForgetDeclinedCities();
