"""The astronomy of one calculation, done by PyEphem, for a speed comparison.

The same work as the calculation's computed path: the 56 lunar phases from
0h UT of 1 December of the year before the birth year (new moon, first
quarter, full moon, last quarter in turn, each searched from the one before),
then, from the date of the last new moon before the birth moment, the
moonrise of each of 41 days at the birthplace. PyEphem's moonrise is its
default: the Moon's upper limb on the horizon, topocentric, with refraction
for 1010 mbar and 15 °C (the calculation takes the centre at +8′
geocentric; the minutes differ, the amount of work does not).

Prints the new moons and the moonrises in UT, one per line. Run with the
system's interpreter: /usr/bin/python3 (Debian's python3-ephem).
"""
import argparse
import datetime

import ephem

PHASE_SEARCHES = (
    ephem.next_new_moon,
    ephem.next_first_quarter_moon,
    ephem.next_full_moon,
    ephem.next_last_quarter_moon,
)


def degrees(text):
    """A coordinate as the calculation's fields take it: '55,75' or '55.75'."""
    return float(text.replace(",", "."))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--date", required=True, help="birth date, DD.MM.YYYY")
    parser.add_argument("--time", default="00:00", help="birth time, HH:MM")
    parser.add_argument("--lat", required=True, help="latitude, degrees north")
    parser.add_argument("--lon", required=True, help="longitude, degrees east")
    parser.add_argument("--zone", type=int, default=0, help="hours ahead of UT")
    args = parser.parse_args()

    day, month, year = (int(part) for part in args.date.split("."))
    hour, minute = (int(part) for part in args.time.split(":")[:2])
    zone = args.zone / 24.0
    birth = ephem.Date(datetime.datetime(year, month, day, hour, minute)) - zone

    moment = ephem.Date(datetime.datetime(year - 1, 12, 1))
    new_moons = []
    for _ in range(14):
        for search in PHASE_SEARCHES:
            moment = search(moment)
            if search is ephem.next_new_moon:
                new_moons.append(moment)
    preceding = max((m for m in new_moons if m <= birth), default=new_moons[0])

    observer = ephem.Observer()
    observer.lat = str(degrees(args.lat))
    observer.lon = str(degrees(args.lon))
    observer.elevation = 0
    moon = ephem.Moon()
    # Local midnight that begins the new moon's date, in UT.
    local = ephem.Date(preceding + zone).tuple()
    first_day = ephem.Date(datetime.datetime(local[0], local[1], local[2])) - zone
    rises = []
    for i in range(41):
        observer.date = first_day + i
        rises.append(observer.next_rising(moon))

    for m in new_moons:
        print("new moon", ephem.Date(m))
    for r in rises:
        print("moonrise", ephem.Date(r))


if __name__ == "__main__":
    main()
