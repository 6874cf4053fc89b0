// Nutation of the Earth's axis: the luni-solar series of the IAU 2000B model (77 terms), in
// longitude and in obliquity, and the mean obliquity of the ecliptic. Portable, pure functions.
#pragma once

// Nutation in longitude and in obliquity, in radians, at TT given as a Julian day in two
// parts (ttDay + ttFraction, split anywhere). Good to about a milliarcsecond from 1900 to 2100.
void NutationInLongitudeAndObliquity(double ttDay, double ttFraction, double *dpsi, double *deps);

// The mean obliquity of the ecliptic of date (IAU 2006), in radians.
double MeanObliquity(double ttDay, double ttFraction);

// The equation of the equinoxes' complementary terms (apparent less mean sidereal time beyond
// dpsi cos(obliquity)), in radians: its larger terms, together good to a few microarcseconds.
double EquinoxComplementaryTerms(double ttDay, double ttFraction);
