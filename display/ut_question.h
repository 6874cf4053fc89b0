// The question put to the user when the city's zone gives another Universal Time than the
// computer's clock: take UT from Windows? Asked once per city and computer's zone in a run.
// Portable: the box comes through the platform hooks.
#pragma once

#include "location/location.h"

// Asks, owned by `owner`, when UT is not already taken from the computer, the city's UT
// differs from the computer's UTC by a minute or more, and the user has not said No for
// this city under the computer's present zone in this run. Returns true when the user said
// Yes; a No is remembered with that zone. While the question is up, nothing more is asked.
bool AskToTakeUniversalTimeFromComputer(void *owner, const Location &location);

// True when the computer's zone (its local clock against its UTC, to the minute) is not what
// it was at the last check; false before the first.
bool ComputerZoneMovedSinceLastCheck();

// Forgets every No and the last check (a new run).
void ForgetDeclinedCities();
