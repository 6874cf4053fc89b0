// What tests read inside the apparent sidereal time: the nutation cache. Nothing in the
// program calls these. Portable.
#pragma once

// Empties the nutation cache, so that the next apparent reading works the series out again.
void ForgetNutation();
// How many times the nutation series has been worked out since the process started.
long NutationEvaluations();
