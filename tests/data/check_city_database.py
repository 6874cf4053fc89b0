#!/usr/bin/env python3
"""Checks a city database file (ZORKEL.DAT) line by line against the machine's tz database.

Usage: tests/data/check_city_database.py FILE [--zoneinfo DIR]

Every city must be the principal city of a tz zone, with that zone's longitude from
zone.tab to the second, its standard offset in hours, and the daylight-saving code
its clocks call for: 1 exactly when they follow the United States rules, 2 when
they change on any other rules, 0 when they do not change; the file must keep the
program's own layout (the printf format the program saves with, CR LF line ends,
Windows-1252 text, names unique ignoring case, sorted, London first).

This works the answers out on its own, from datetime's view of each zone, and does
not share code with the tool that writes the file, so a mistake in one shows up
as a disagreement with the other.

Exit status: 0 when every line is right, 1 with one message per wrong line,
77 when the tz database is not installed (nothing to check against).
"""

import argparse
import datetime
import re
import sys
import unicodedata
from pathlib import Path
from zoneinfo import ZoneInfo

SKIPPED = 77

CITY_FORMAT = "%-20s|%3d|%2d|%2d|%c|%2.2f|%d"
CITY_LINE = re.compile(r"(.{20})\|([ 0-9]{3})\|([ 0-9]{2})\|([ 0-9]{2})\|([WE])\|"
                       r"(-?[0-9]+\.[0-9]{2})\|([012])")
FIRST_LINE = "London"
FEWEST_CITIES = 200   # a default file worth shipping covers the world, not a handful

# The years the daylight-saving flag is judged on: the clock applies it to the
# current year, so it has to hold for the rules in force now and ahead. 2023 is
# the first full year after the latest places moved onto the US rules; by 2037
# the tz database only repeats rules already in force. DST 1 must hold in every
# one of these years, DST 0 must fail in at least one.
FIRST_YEAR = 2023
LAST_YEAR = 2037

HOUR = datetime.timedelta(hours=1)
UTC = datetime.timezone.utc


def fold_name(text):
    """Lower case, accents removed: how two names are compared here. Stricter than
    the program, which ignores only the case of A-Z, so anything it could confuse
    is caught too."""
    text = text.translate(str.maketrans("ĐđŁłĦħıŦŧŊŋ", "DdLlHhiTtNn"))
    plain = unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode()
    return " ".join(plain.lower().split())


class TzZone:
    def __init__(self, key, countries, coordinates):
        self.key = key
        self.countries = countries
        self.coordinates = coordinates
        self.city = key.rsplit("/", 1)[-1].replace("_", " ")


def load_tz_tables(zoneinfo):
    zones = {}
    for table in ("zone.tab", "zone1970.tab"):
        path = zoneinfo / table
        if not path.is_file():
            continue
        with open(path, encoding="utf-8") as lines:
            for line in lines:
                if line.startswith("#") or not line.strip():
                    continue
                countries, coordinates, key = line.rstrip("\n").split("\t")[:3]
                zones.setdefault(key, TzZone(key, countries.split(","), coordinates))
    return zones


def find_zone(name, zones):
    """The tz zone a city name stands for, or None. A name is the zone's city, cut to
    20 characters, or - when two cities would share a name - cut shorter and tagged
    ' (TAG)' with the zone's country code or a part of its zone name."""
    wanted = fold_name(name)
    exact = [z for z in zones.values() if fold_name(z.city[:20].rstrip()) == wanted]
    if len(exact) == 1:
        return exact[0]
    tagged = re.fullmatch(r"(.*) \((.+)\)", name)
    if not tagged:
        return None
    base, tag = fold_name(tagged.group(1)), fold_name(tagged.group(2))
    matches = [z for z in zones.values()
               if fold_name(z.city).startswith(base)
               and (tag in [fold_name(c) for c in z.countries]
                    or tag in [fold_name(p.replace("_", " ")) for p in z.key.split("/")[:-1]])]
    return matches[0] if len(matches) == 1 else None


def zone_longitude(coordinates):
    found = re.fullmatch(r"[+-][0-9]{4}(?:[0-9]{2})?([+-])([0-9]{3})([0-9]{2})([0-9]{2})?",
                         coordinates)
    if not found:
        raise ValueError(f"cannot read coordinates {coordinates!r}")
    sign, degrees, minutes, seconds = found.groups()
    return (int(degrees), int(minutes), int(seconds or 0), "W" if sign == "-" else "E")


def is_northern(coordinates):
    return coordinates[0] == "+"


def standard_offset(tz, coordinates):
    """The offset the zone keeps outside summer time, as datetime reports it.

    Standard time is the clock reading at the moments tz does not mark as daylight
    saving (dst() zero), through the last year of the range, so it is the one of the
    rules now in force. The size dst() reports is not used: for zones whose history
    mixes several savings datetime can report the wrong one (America/Inuvik's summer
    hour comes out as two), so utcoffset() minus dst() would be off there.

    Where tz writes the local winter itself as a negative saving (Ireland: GMT in
    winter under an "Irish Standard Time" of +1) the clocks in winter read like
    their neighbours', and that winter reading is what the file's zone means. A
    negative saving that only sometimes falls in winter (Morocco's Ramadan) is not
    the winter rule and leaves the standard time alone.
    """
    readings = set()
    for month in range(1, 13):
        moment = datetime.datetime(LAST_YEAR, month, 15, 12, tzinfo=UTC).astimezone(tz)
        if moment.dst() == datetime.timedelta(0):
            readings.add(moment.utcoffset())
    if len(readings) != 1:
        raise ValueError(f"no single standard offset in {LAST_YEAR}: "
                         f"{sorted(hours(r) for r in readings)}")
    winter_month = 1 if is_northern(coordinates) else 7
    winters = [datetime.datetime(year, winter_month, 15, 12, tzinfo=UTC).astimezone(tz)
               for year in range(FIRST_YEAR, LAST_YEAR + 1)]
    if all(w.dst() < datetime.timedelta(0) for w in winters):
        return winters[-1].utcoffset()
    return readings.pop()


def sunday(year, month, nth):
    first = datetime.date(year, month, 1)
    return first + datetime.timedelta(days=(6 - first.weekday()) % 7 + 7 * (nth - 1))


def us_rule_deviation(tz, std, year):
    """None when the zone keeps the US rules in the year, else a description of the
    first reading that differs from them."""
    march, november = sunday(year, 3, 2), sunday(year, 11, 1)
    summer = std + HOUR

    def local(day, hour, minute, fold=0):
        return datetime.datetime(day.year, day.month, day.day, hour, minute, fold=fold, tzinfo=tz)

    # Local clock readings right around both changes: 01:59 is still standard time and
    # 03:00 already summer time in March; in November 00:59 and the first 01:30 are
    # summer time, the repeated 01:30 and 02:00 standard time.
    probes = [(local(march, 1, 59), std), (local(march, 3, 0), summer),
              (local(november, 0, 59), summer), (local(november, 1, 30, 0), summer),
              (local(november, 1, 30, 1), std), (local(november, 2, 0), std)]
    for moment, expected in probes:
        if moment.utcoffset() != expected:
            which = " (the repeated one)" if moment.fold else ""
            return (f"at local {moment:%Y-%m-%d %H:%M}{which} the offset is "
                    f"{hours(moment.utcoffset())}, the US rules give {hours(expected)}")

    # And the whole year, every six hours, against when the US rules say summer time runs.
    start = datetime.datetime.combine(march, datetime.time(2), UTC) - std
    end = datetime.datetime.combine(november, datetime.time(2), UTC) - summer
    for instant in (start, end):   # to the second either side of each change
        for moment in (instant - datetime.timedelta(seconds=1), instant):
            expected = summer if start <= moment < end else std
            if moment.astimezone(tz).utcoffset() != expected:
                return (f"at {moment:%Y-%m-%d %H:%M:%S} UTC the offset is "
                        f"{hours(moment.astimezone(tz).utcoffset())}, the US rules give "
                        f"{hours(expected)}")
    moment = datetime.datetime(year, 1, 1, 3, tzinfo=UTC)
    while moment.year == year:
        expected = summer if start <= moment < end else std
        actual = moment.astimezone(tz).utcoffset()
        if actual != expected:
            return (f"at {moment:%Y-%m-%d %H:%M} UTC the offset is {hours(actual)}, "
                    f"the US rules give {hours(expected)}")
        moment += 6 * HOUR
    return None


def clock_changes(tz, year):
    """The distinct UTC offsets the zone's clocks keep during the year, when there are
    more than one (read every six hours: no real summer time is shorter); else None."""
    offsets = set()
    moment = datetime.datetime(year, 1, 1, 1, tzinfo=UTC)
    while moment.year == year:
        offsets.add(moment.astimezone(tz).utcoffset())
        moment += 6 * HOUR
    return ", ".join(hours(o) for o in sorted(offsets)) if len(offsets) > 1 else None


def hours(delta):
    return f"{delta.total_seconds() / 3600:+g} h"


def check_layout(raw):
    """Splits the file into lines, reporting every departure from the layout.

    Any of CR LF, LF or CR ends a line here, so a file with the wrong line ends is
    still read line by line and every wrong end is named.
    """
    problems = []
    pieces = re.findall(rb"([^\r\n]*)(\r\n|\n|\r|$)", raw)
    if pieces and pieces[-1] == (b"", b""):
        pieces.pop()   # the empty match at the very end
    lines = []
    for number, (chunk, ending) in enumerate(pieces, start=1):
        if ending == b"":
            problems.append((number, "the last line has no CR LF"))
        elif ending != b"\r\n":
            problems.append((number, f"the line ends with {ending!r}, not CR LF"))
        try:
            text = chunk.decode("cp1252")
        except UnicodeDecodeError as error:
            problems.append((number, f"not Windows-1252 text ({error.reason})"))
            text = chunk.decode("cp1252", "replace")
        if any(ord(c) < 32 or ord(c) == 127 for c in text):
            problems.append((number, "control character in the line"))
        lines.append(text)
    return lines, problems


def check_row(text, zones, tz_dir, claimed):
    """The problems of one city line (an empty list when it is right), its name and
    its tz zone (None where they cannot be read)."""
    found = CITY_LINE.fullmatch(text)
    if not found:
        return [f"not in the layout {CITY_FORMAT!r}: {text!r}"], None, None
    name_field, degrees, minutes, seconds, direction, zone_text, dst = found.groups()
    name = name_field.rstrip(" ")
    problems = []
    if not name or name != " ".join(name.split()) or "|" in name:
        problems.append(f"the name {name_field!r} is empty, badly spaced or holds a '|'")
    fields = (int(degrees), int(minutes), int(seconds), direction, float(zone_text), int(dst))
    if CITY_FORMAT % ((name,) + fields) != text:
        problems.append(f"not written with {CITY_FORMAT!r}: {text!r}")
    if zone_text == "-0.00":
        problems.append("zone written as -0.00")
    if not -12.0 <= fields[4] <= 14.0:
        problems.append(f"zone {zone_text} is outside -12..14 hours")

    zone = find_zone(name, zones)
    if zone is None:
        return problems + [f"no tz zone has a city called {name!r}"], name, None
    if zone.key in claimed:
        problems.append(f"zone {zone.key} is already the city on line {claimed[zone.key]}")

    try:
        expected_longitude = zone_longitude(zone.coordinates)
    except ValueError as error:
        return problems + [f"{zone.key}: {error}"], name, zone
    if fields[:4] != expected_longitude:
        problems.append("longitude %d|%d|%d|%s, zone.tab says %d|%d|%d|%s for %s"
                        % (fields[:4] + expected_longitude + (zone.key,)))

    try:
        with open(tz_dir / zone.key, "rb") as tz_file:
            tz = ZoneInfo.from_file(tz_file, key=zone.key)
        std = standard_offset(tz, zone.coordinates)
    except (OSError, ValueError) as error:
        return problems + [f"{zone.key}: {error}"], name, zone
    std_hours = std.total_seconds() / 3600
    if zone_text != "%2.2f" % std_hours or fields[4] != std_hours:
        problems.append(f"zone {zone_text}, the standard time of {zone.key} is {hours(std)}")

    deviations = [(year, us_rule_deviation(tz, std, year))
                  for year in range(FIRST_YEAR, LAST_YEAR + 1)]
    deviations = [(year, why) for year, why in deviations if why is not None]
    changes = clock_changes(tz, LAST_YEAR)
    if fields[5] == 1 and deviations:
        year, why = deviations[0]
        problems.append(f"DST 1, but {zone.key} leaves the US rules in {year}: {why}")
    if fields[5] != 1 and not deviations:
        problems.append(f"DST {fields[5]}, but {zone.key} keeps the US rules in every year "
                        f"{FIRST_YEAR}-{LAST_YEAR}: 1")
    if fields[5] == 2 and not changes:
        problems.append(f"DST 2, but the clocks of {zone.key} no longer change ({LAST_YEAR}): 0")
    if fields[5] == 0 and changes:
        problems.append(f"DST 0, but the clocks of {zone.key} change in {LAST_YEAR} "
                        f"({changes}): " + ("2" if deviations else "1"))
    return problems, name, zone


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("file", type=Path)
    parser.add_argument("--zoneinfo", type=Path, default=Path("/usr/share/zoneinfo"))
    args = parser.parse_args()

    if not (args.zoneinfo / "zone.tab").is_file():
        print(f"skipped: {args.zoneinfo / 'zone.tab'} is not installed, nothing to check against")
        return SKIPPED
    zones = load_tz_tables(args.zoneinfo)
    label = args.file.name
    raw = args.file.read_bytes()

    lines, layout_problems = check_layout(raw)
    failures = {}
    for number, message in layout_problems:
        failures.setdefault(number, []).append(message)
    if not lines:
        failures.setdefault(0, []).append("the file is empty")
    elif lines[0] != FIRST_LINE:
        failures.setdefault(1, []).append(f"the first line is {lines[0]!r}, not {FIRST_LINE!r}")

    claimed, seen, names = {}, {}, []
    for number, text in enumerate(lines[1:], start=2):
        if not text.strip():
            failures.setdefault(number, []).append("blank line")
            continue
        problems, name, zone = check_row(text, zones, args.zoneinfo, claimed)
        if zone is not None:
            claimed.setdefault(zone.key, number)
        if name is not None:
            key = name.lower()
            if key in seen:
                problems.append(f"the name {name!r} is already on line {seen[key]} (case ignored)")
            seen.setdefault(key, number)
            if names and key < names[-1][1].lower():
                problems.append(f"{name!r} is out of order after {names[-1][1]!r} (line "
                                f"{names[-1][0]})")
            names.append((number, name))
        if problems:
            failures.setdefault(number, []).extend(problems)

    if FIRST_LINE.lower() not in seen:
        failures.setdefault(0, []).append(f"no city line for {FIRST_LINE}")
    city_count = max(len(lines) - 1, 0)
    if city_count < FEWEST_CITIES:
        failures.setdefault(0, []).append(f"only {city_count} cities, fewer than {FEWEST_CITIES}")

    for number in sorted(failures):
        where = f"{label} line {number}" if number else label
        if number >= 2 and number - 1 < len(lines) and lines[number - 1].strip():
            where += f" ({lines[number - 1][:20].rstrip()})"
        for message in failures[number]:
            print(f"{where}: {message}")
    if failures:
        count = sum(len(messages) for messages in failures.values())
        print(f"{label}: FAILED, {count} problem(s), {len(lines)} lines read")
        return 1
    print(f"{label}: {city_count} cities checked against {args.zoneinfo}, all correct")
    return 0


if __name__ == "__main__":
    sys.exit(main())
