#!/usr/bin/python3
"""Compares the clock's Greenwich sidereal time with the IAU 2006 Greenwich mean sidereal
time of the ERFA library (Debian's python3-erfa), from the listing of bench/gst_accuracy:
one instant a day, 1950 to 2050. Prints the worst differences in seconds of time.

The clock's UT is taken as UT1, and TT as UT1 + 69.184 s: over a century TT - UT1 moves by
about a minute, which changes GMST by far less than a microsecond.
"""
import sys

import erfa

SECONDS_PER_HOUR = 3600.0


def wrapped(hours):
    """A difference of times of day, brought into -12 .. +12 hours."""
    return (hours + 12.0) % 24.0 - 12.0


def main():
    worst_value = (0.0, None)
    worst_shown = (0.0, None)
    count = 0
    by_decade = {}
    for line in sys.stdin:
        y, mo, d, h, mi, s, gst, text = line.split(None, 7)
        y, mo, d, h, mi, s = (int(v) for v in (y, mo, d, h, mi, s))
        uta, utb = erfa.dtf2d("UT1", y, mo, d, h, mi, float(s))
        gmst = erfa.gmst06(uta, utb, uta, utb + 69.184 / 86400.0) * 12.0 / 3.141592653589793
        diff = wrapped(float(gst) - gmst) * SECONDS_PER_HOUR
        th, tm, ts = (int(v) for v in text.strip().replace(" ", "0").split(":"))
        shown = wrapped(th + tm / 60.0 + ts / 3600.0 - gmst) * SECONDS_PER_HOUR
        count += 1
        decade = y // 10 * 10
        by_decade[decade] = max(by_decade.get(decade, 0.0), abs(diff))
        if abs(diff) > abs(worst_value[0]):
            worst_value = (diff, line.strip())
        if abs(shown) > abs(worst_shown[0]):
            worst_shown = (shown, line.strip())
    print(f"instants compared: {count}")
    print(f"worst difference of the computed GST: {worst_value[0]:+.3f} s at {worst_value[1]}")
    print(f"worst difference of the shown text:   {worst_shown[0]:+.3f} s at {worst_shown[1]}")
    print("worst |difference| of the computed GST by decade (s): " +
          ", ".join(f"{k}s {v:.3f}" for k, v in sorted(by_decade.items())))


if __name__ == "__main__":
    main()
