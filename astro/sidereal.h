// Greenwich and local sidereal time from a UT moment, by a per-year constant. Portable.
#pragma once

#include "location/location.h"

// The year's constant, in hours, derived from January 0.0 of `year`.
double SiderealYearConstant(int year);

// Greenwich sidereal time in hours, [0, 24], for UT hours on the UT date day/month/year.
double GreenwichSiderealTime(double ut, int day, int month, int year);

// Local sidereal time in hours, [0, 24], from Greenwich sidereal time and the longitude.
double LocalSiderealTime(double gst, const Location &location);
