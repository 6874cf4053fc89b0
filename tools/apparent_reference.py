#!/usr/bin/python3
"""Prints the reference rows of the apparent sidereal time test (tests/core/apparent_test.cpp):
Greenwich and local apparent sidereal time from ERFA's IAU 2006/2000A model (Debian's
python3-erfa, erfa.gst06a) for UTC instants from 1900 to 2100 with a DUT1 each, TT taken as
UTC + 69.184 s as the clock takes it. The local time is for 104 deg 59 min 3 s West.

    /usr/bin/python3 tools/apparent_reference.py
"""
import math

import erfa

WEST_DEGREES = 104 + 59 / 60 + 3 / 3600
# year, month, day, hour, minute, second, millisecond, DUT1 in ms
INSTANTS = [
    (1900, 1, 1, 0, 0, 0, 0, 0),
    (1900, 1, 1, 0, 0, 0, 0, -900),
    (1925, 6, 15, 18, 30, 5, 250, 412),
    (1950, 1, 1, 0, 0, 0, 0, 0),
    (1969, 7, 20, 20, 17, 40, 0, -184),
    (1987, 4, 10, 19, 21, 0, 0, 0),
    (1999, 12, 31, 23, 59, 59, 999, 355),
    (2000, 1, 1, 12, 0, 0, 0, 0),
    (2026, 12, 8, 8, 14, 21, 437, 0),
    (2026, 12, 8, 8, 14, 21, 437, 72),
    (2029, 6, 30, 12, 0, 0, 500, -310),
    (2050, 3, 20, 6, 45, 30, 0, 900),
    (2075, 9, 9, 9, 9, 9, 9, -657),
    (2099, 12, 31, 23, 59, 59, 0, 0),
]


def hours(radians):
    return (radians * 12.0 / math.pi) % 24.0


def main():
    for y, mo, d, h, mi, s, ms, dut1 in INSTANTS:
        day0, mjd = erfa.cal2jd(y, mo, d)
        fraction = (h * 3600 + mi * 60 + s + ms / 1000.0) / 86400.0
        ut1 = mjd + fraction + dut1 / 86400000.0
        tt = mjd + fraction + 69.184 / 86400.0
        gast = hours(erfa.gst06a(day0, ut1, day0, tt))
        last = (gast - WEST_DEGREES / 15.0) % 24.0
        print(f"      {{{{{y}, {mo}, {d}, {h}, {mi}, {s}, {ms}}}, {dut1}, {gast:.12f}, {last:.12f}}},")


if __name__ == "__main__":
    main()
