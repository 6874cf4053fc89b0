#!/usr/bin/python3
"""Compares the clock's Greenwich sidereal time with the IAU 2006 Greenwich mean sidereal
time of the ERFA library (Debian's python3-erfa), from the listing of bench/gst_accuracy:
one instant a day, 1950 to 2050. Prints the worst differences in seconds of time.

The clock's UT is taken as UT1, and TT as UT1 + 69.184 s: over a century TT - UT1 moves by
about a minute, which changes GMST by far less than a microsecond.

With --apparent, from the listing of `gst_accuracy --apparent` (one instant a day, 1900 to
2100, each with its milliseconds and a DUT1): the clock's apparent sidereal time against
ERFA's IAU 2006/2000A Greenwich apparent sidereal time (erfa.gst06a), UT1 = UTC + DUT1 and
TT = UTC + 69.184 s as the clock takes them. Prints the worst differences in milliseconds.
"""
import math
import sys

import erfa
import numpy

SECONDS_PER_HOUR = 3600.0


def wrapped(hours):
    """A difference of times of day, brought into -12 .. +12 hours."""
    return (hours + 12.0) % 24.0 - 12.0


def apparent():
    rows = [line.split() for line in sys.stdin if line.strip()]
    y, mo, d, h, mi, s, ms, dut1 = (numpy.array([int(r[i]) for r in rows]) for i in range(8))
    gst = numpy.array([float(r[8]) for r in rows])
    day0, mjd = erfa.cal2jd(y, mo, d)
    fraction = (h * 3600 + mi * 60 + s + ms / 1000.0) / 86400.0
    reference = erfa.gst06a(day0, mjd + fraction + dut1 / 86400000.0,
                            day0, mjd + fraction + 69.184 / 86400.0) * 12.0 / math.pi
    diff = ((gst - reference + 12.0) % 24.0 - 12.0) * SECONDS_PER_HOUR * 1000.0
    worst = int(numpy.argmax(numpy.abs(diff)))
    print(f"instants compared: {len(rows)}")
    print(f"worst difference from gst06a: {diff[worst]:+.4f} ms at {' '.join(rows[worst][:8])}")
    print(f"rms difference: {math.sqrt(float(numpy.mean(diff * diff))):.4f} ms")
    quarters = {}
    for year, value in zip(y, numpy.abs(diff)):
        key = min(int(year) // 25 * 25, 2075)
        quarters[key] = max(quarters.get(key, 0.0), float(value))
    print("worst |difference| by quarter century (ms): " +
          ", ".join(f"{k}-{k + 24} {v:.4f}" for k, v in sorted(quarters.items())))


def main():
    if "--apparent" in sys.argv[1:]:
        apparent()
        return
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
