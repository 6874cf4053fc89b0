// What tests read inside the chimes: how many beeps are still to sound. Nothing in the program
// calls it. Portable.
#pragma once

int PendingChimeCount();
