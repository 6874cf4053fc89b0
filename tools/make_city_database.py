#!/usr/bin/env python3
"""Builds the default city database ZORKEL.DAT from the machine's tz database.

Usage: tools/make_city_database.py [OUTPUT] [--zoneinfo DIR]

OUTPUT defaults to resources/ZORKEL.DAT in this checkout; DIR defaults to
/usr/share/zoneinfo. The result depends only on the tz files read, never on the
date or the machine's own time zone, so two runs over the same tz release give
the same bytes. What was left out or renamed is reported on standard error.

One city per tz zone: the zone's principal city (the last part of the zone
name), its longitude from zone.tab, its standard time zone in hours and its
daylight-saving code: 1 when its clocks follow the United States rules (which
the clock works out itself), 2 when they change on other rules (the clock then
takes the daylight saving of the computer's own time zone), 0 when they never
change.
"""

import argparse
import calendar
import datetime
import sys
import unicodedata
from pathlib import Path
from zoneinfo import ZoneInfo

DEFAULT_CITY = "London"

# The clock's own line layout; the program writes its file with the same format,
# so a file saved by the program and this one differ only where the data does.
LINE_FORMAT = "%-20s|%3d|%2d|%2d|%c|%2.2f|%d"
NAME_LENGTH = 20
ENCODING = "cp1252"

# Civil time reaches from 12 hours behind Greenwich (no one lives there, but the
# dialog takes it) to 14 ahead (Kiritimati); the city dialog accepts the same range.
ZONE_WEST_LIMIT_SECONDS = -12 * 3600
ZONE_EAST_LIMIT_SECONDS = 14 * 3600

# The daylight-saving codes of the file: none, the US rules, the computer's own rules.
NO_DST, US_DST, COMPUTER_DST = 0, 1, 2

# The flag has to describe how clocks are kept now and in the years ahead: the
# clock applies it to the current year only. The range starts in 2023, the first
# full year after the latest places moved onto the US rules (the Mexican border
# towns after Mexico dropped daylight saving in late 2022; before them Haiti in
# 2017, Turks and Caicos late in 2018, Metlakatla late in 2019); an earlier start
# would give those places 0 although their clocks follow the US rules today. It
# ends in 2037, past which the tz database only repeats the rules already in
# force. Fifteen years put the first of March on every weekday at least once, so
# a rule that only coincides with the US dates in some years cannot slip through.
# A zone must follow the US rules in every one of these years.
FIRST_YEAR = 2023
LAST_YEAR = 2037

# Names that are not places: offsets without a city, and tz's placeholder.
NOT_PLACES = ("Etc/", "SystemV/", "posix/", "right/")
NOT_PLACE_NAMES = {"UTC", "UCT", "GMT", "Zulu", "Universal", "Greenwich", "Factory",
                   "localtime", "posixrules"}


class Zone:
    def __init__(self, name, country, coordinates):
        self.name = name          # e.g. "America/New_York"
        self.country = country    # ISO 3166 code, used only to tell cities apart
        self.coordinates = coordinates


def read_zone_tables(zoneinfo_dir):
    """Zones with their country and coordinates.

    zone.tab names one principal city for every zone of every country, so it is
    the main source; zone1970.tab only adds zones that zone.tab lacks.
    """
    zones = {}
    for table in ("zone.tab", "zone1970.tab"):
        path = zoneinfo_dir / table
        if not path.exists():
            if table == "zone.tab":
                sys.exit(f"{path} is missing: no tz database to build the cities from")
            continue
        for line in path.read_text(encoding="utf-8").splitlines():
            if not line.strip() or line.startswith("#"):
                continue
            columns = line.split("\t")
            name = columns[2]
            if name not in zones:
                # zone1970.tab lists every country sharing a zone; the first is enough.
                zones[name] = Zone(name, columns[0].split(",")[0], columns[1])
    return zones


def is_place(zone_name):
    if zone_name.startswith(NOT_PLACES) or "/" not in zone_name:
        return False
    return zone_name.split("/")[-1] not in NOT_PLACE_NAMES


def longitude_fields(coordinates):
    """(degrees, minutes, seconds, 'W' or 'E') from ISO 6709 ±DDMM[SS]±DDDMM[SS].

    Taken digit for digit, without rounding: the file holds exactly what the tz
    database says. Only a minus sign makes a longitude West, so 0° with '+' is East.
    """
    split = max(coordinates.rfind("+"), coordinates.rfind("-"))
    longitude = coordinates[split:]
    sign, digits = longitude[0], longitude[1:]
    if len(digits) not in (5, 7) or not digits.isdigit():
        raise ValueError(f"unexpected longitude {longitude!r} in {coordinates!r}")
    degrees, minutes = int(digits[0:3]), int(digits[3:5])
    seconds = int(digits[5:7]) if len(digits) == 7 else 0
    if degrees > 180 or minutes > 59 or seconds > 59:
        raise ValueError(f"longitude out of range in {coordinates!r}")
    return degrees, minutes, seconds, "W" if sign == "-" else "E"


def parse_posix_offset(text):
    """Seconds east of Greenwich from a POSIX TZ offset such as '-5:30' (west positive)."""
    sign = -1
    if text[0] in "+-":
        sign = 1 if text[0] == "-" else -1
        text = text[1:]
    parts = [int(p) for p in text.split(":")]
    parts += [0] * (3 - len(parts))
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2])


def split_posix_name(text):
    """The time zone abbreviation at the start of a POSIX TZ text, and the rest."""
    if text.startswith("<"):
        end = text.index(">") + 1
    else:
        end = 0
        while end < len(text) and text[end].isalpha():
            end += 1
    return text[:end], text[end:]


def split_posix_offset(text):
    end = 0
    while end < len(text) and (text[end] in "+-:" or text[end].isdigit()):
        end += 1
    return text[:end], text[end:]


def standard_offset_seconds(zoneinfo_dir, zone_name):
    """The zone's standard (winter) offset in seconds, from the rule the tz file
    says is in force after its last listed change.

    That rule is the POSIX TZ text at the end of the compiled file: it states the
    offset of today's and tomorrow's clocks, not of some past arrangement. Where it
    has a daylight-saving part the winter offset is the smaller of the two: tz
    writes Ireland's winter as a negative saving from its summer "standard" time,
    yet in winter its clocks read like London's, which is what the clock's zone
    field means. A shift that is not a yearly rule (Morocco's return to GMT for
    Ramadan) is listed change by change in the file and never reaches that text,
    so such places keep the offset their clocks show for most of the year.
    """
    data = (zoneinfo_dir / zone_name).read_bytes()
    if not data.startswith(b"TZif") or data[4:5] not in (b"2", b"3", b"4"):
        raise ValueError(f"{zone_name}: not a version 2 or later tz file")
    footer = data[data.rindex(b"\n", 0, len(data) - 1) + 1:-1].decode("ascii")
    if not footer:
        raise ValueError(f"{zone_name}: the tz file states no rule for the years ahead")
    _std_name, rest = split_posix_name(footer)
    std_text, rest = split_posix_offset(rest)
    std = parse_posix_offset(std_text)
    if not rest:
        return std
    _dst_name, rest = split_posix_name(rest)
    dst_text, rest = split_posix_offset(rest)
    dst = parse_posix_offset(dst_text) if dst_text else std + 3600
    return min(std, dst)


def nth_sunday(year, month, n):
    first_weekday, _ = calendar.monthrange(year, month)   # Monday is 0
    first_sunday = 1 + (6 - first_weekday) % 7
    return datetime.date(year, month, first_sunday + 7 * (n - 1))


def offset_changes(zone, year):
    """Every change of the zone's UTC offset during the year, as (instant, before, after).

    Clocks are read once a day and each change found is pinned to the second by
    halving; no real zone changes twice within a day, so none is missed.
    """
    def offset_at(seconds):
        return datetime.datetime.fromtimestamp(seconds, zone).utcoffset()

    utc = datetime.timezone.utc
    moment = int(datetime.datetime(year, 1, 1, tzinfo=utc).timestamp())
    end = int(datetime.datetime(year + 1, 1, 1, tzinfo=utc).timestamp())
    changes = []
    offset = offset_at(moment)
    while moment < end:
        later = min(moment + 86400, end)
        later_offset = offset_at(later)
        if later_offset != offset:
            low, high = moment, later   # offset_at(low) is the old offset, offset_at(high) not
            while high - low > 1:
                middle = (low + high) // 2
                if offset_at(middle) == offset:
                    low = middle
                else:
                    high = middle
            changes.append((datetime.datetime.fromtimestamp(high, utc), offset, later_offset))
        moment, offset = later, later_offset
    return changes


def follows_us_rules(zone, standard, year):
    """True when the zone's only changes in the year are the US ones: one hour ahead
    at 02:00 standard time on the second Sunday of March, back at 02:00 daylight
    time on the first Sunday of November, from and to its standard offset."""
    std = datetime.timedelta(seconds=standard)
    hour = datetime.timedelta(hours=1)
    spring, autumn = nth_sunday(year, 3, 2), nth_sunday(year, 11, 1)
    two_am_utc = datetime.time(2, tzinfo=datetime.timezone.utc)
    expected = [
        (datetime.datetime.combine(spring, two_am_utc) - std, std, std + hour),
        (datetime.datetime.combine(autumn, two_am_utc) - std - hour, std + hour, std),
    ]
    return offset_changes(zone, year) == expected


def daylight_saving_code(zone, standard):
    """US_DST when the zone keeps the US rules in every year of the range;
    COMPUTER_DST when its clocks still change in the last year of the range, on any
    other rules (Europe, the southern hemisphere, Havana's midnight changes,
    Morocco's Ramadan); NO_DST when they no longer change at all."""
    if all(follows_us_rules(zone, standard, year) for year in range(FIRST_YEAR, LAST_YEAR + 1)):
        return US_DST
    return COMPUTER_DST if offset_changes(zone, LAST_YEAR) else NO_DST


# Latin letters that have no accent to drop and so do not simplify on their own.
PLAIN_LETTERS = str.maketrans({"Đ": "D", "đ": "d", "Ł": "L", "ł": "l", "Ħ": "H", "ħ": "h",
                               "ı": "i", "Ŧ": "T", "ŧ": "t", "Ŋ": "N", "ŋ": "n"})


def readable_name(zone_name):
    """The city as people write it: 'America/Port_of_Spain' gives 'Port of Spain'.

    The file is Windows-1252, so characters outside it are taken to plain ASCII
    (accents dropped). '|' separates the fields and would split the name.
    """
    raw = zone_name.split("/")[-1].replace("_", " ").replace("|", " ")
    kept = []
    for char in raw:
        if unicodedata.category(char).startswith("C"):
            continue
        try:
            char.encode(ENCODING)
            kept.append(char)
        except UnicodeEncodeError:
            plain = unicodedata.normalize("NFKD", char.translate(PLAIN_LETTERS))
            kept.append(plain.encode("ascii", "ignore").decode())
    return " ".join("".join(kept).split())


def fit(name, suffix=""):
    """The name cut so that it and the suffix fit in the field. Trailing blanks are
    dropped because the program trims names when it reads them."""
    return name[:NAME_LENGTH - len(suffix)].rstrip() + suffix


def assign_names(cities):
    """Gives each city a name of at most 20 characters that no other city has,
    ignoring case as the program's city search does.

    Cities whose names clash after cutting all get a tag, so no zone is favoured
    over another: the country code first, then the other parts of the zone name,
    then a number. Returns the (zone, old name, new name) renamings.
    """
    def key(name):
        return name.lower()

    wanted = {city["zone"].name: fit(city["long_name"]) for city in cities}
    groups = {}
    for zone_name, name in wanted.items():
        groups.setdefault(key(name), []).append(zone_name)
    taken = {k for k, members in groups.items() if len(members) == 1}
    renamed = []
    for city in sorted(cities, key=lambda c: c["zone"].name):
        zone = city["zone"]
        name = wanted[zone.name]
        if len(groups[key(name)]) > 1:
            # The region part closest to the city tells most ("Indiana" before "America").
            regions = [part.replace("_", " ") for part in zone.name.split("/")[-2::-1]]
            tags = [zone.country] + regions
            tags += [str(n) for n in range(2, 1000)]
            for tag in tags:
                candidate = fit(city["long_name"], f" ({tag})")
                if key(candidate) not in taken and key(candidate) not in groups:
                    name = candidate
                    break
            renamed.append((zone.name, wanted[zone.name], name))
        elif len(city["long_name"]) > NAME_LENGTH:
            renamed.append((zone.name, city["long_name"], name))
        taken.add(key(name))
        city["name"] = name
    return renamed


def zone_hours(seconds):
    if seconds % 900:
        # "%2.2f" only shows quarter hours exactly; anything finer would be rounded.
        raise ValueError(f"standard offset {seconds} s is not a whole quarter hour")
    return seconds / 3600 + 0.0   # + 0.0 so no zone is ever written as -0.00


def build(zoneinfo_dir):
    cities, left_out = [], []
    for zone in sorted(read_zone_tables(zoneinfo_dir).values(), key=lambda z: z.name):
        if not is_place(zone.name):
            left_out.append((zone.name, "not a place"))
            continue
        standard = standard_offset_seconds(zoneinfo_dir, zone.name)
        if not ZONE_WEST_LIMIT_SECONDS <= standard <= ZONE_EAST_LIMIT_SECONDS:
            left_out.append((zone.name, f"standard offset {standard / 3600:+g} h is beyond -12..+14 h"))
            continue
        long_name = readable_name(zone.name)
        if not long_name:
            left_out.append((zone.name, "no readable name"))
            continue
        with open(zoneinfo_dir / zone.name, "rb") as tz_file:
            tz = ZoneInfo.from_file(tz_file, key=zone.name)
        cities.append({"zone": zone, "long_name": long_name,
                       "longitude": longitude_fields(zone.coordinates),
                       "zone_hours": zone_hours(standard),
                       "dst": daylight_saving_code(tz, standard)})
    renamed = assign_names(cities)
    cities.sort(key=lambda c: (c["name"].lower(), c["name"]))
    if not any(c["name"] == DEFAULT_CITY for c in cities):
        sys.exit(f"{DEFAULT_CITY} is not among the cities: the default city must be one of them")
    return cities, left_out, renamed


def render(cities):
    lines = [DEFAULT_CITY]
    for city in cities:
        degrees, minutes, seconds, direction = city["longitude"]
        lines.append(LINE_FORMAT % (city["name"], degrees, minutes, seconds, direction,
                                    city["zone_hours"], city["dst"]))
    return "".join(line + "\r\n" for line in lines).encode(ENCODING)


def main():
    default_output = Path(__file__).resolve().parent.parent / "resources" / "ZORKEL.DAT"
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", nargs="?", type=Path, default=default_output)
    parser.add_argument("--zoneinfo", type=Path, default=Path("/usr/share/zoneinfo"))
    args = parser.parse_args()

    cities, left_out, renamed = build(args.zoneinfo)
    args.output.write_bytes(render(cities))

    report = sys.stderr
    print(f"{args.output}: {len(cities)} cities, "
          f"{sum(c['dst'] == US_DST for c in cities)} on the US daylight-saving rules, "
          f"{sum(c['dst'] == COMPUTER_DST for c in cities)} on other rules", file=report)
    for zone_name, reason in left_out:
        print(f"left out {zone_name}: {reason}", file=report)
    for zone_name, old, new in renamed:
        print(f"renamed {zone_name}: {old!r} -> {new!r}", file=report)
    if not renamed:
        print("no names needed cutting or telling apart", file=report)


if __name__ == "__main__":
    main()
