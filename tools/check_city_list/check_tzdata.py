#!/usr/bin/env python3
"""Checks the city list against the system's tz database, without network.

Usage: python3 tools/check_city_list/check_tzdata.py [data/atlas.txt]
       [--zoneinfo /usr/share/zoneinfo]

The list is UTF-8 text, one place a line, "Name;55°7558';37°6173';Europe/Moscow":
the digits after the degree sign are the decimal fraction of the degrees, south
and west are negative. The build converts it to Windows-1251 with CR LF.

Checked here:
- the bytes are UTF-8 without a byte-order mark, lines end with LF, no line is
  empty, and the text converts to Windows-1251 (Python's codec and iconv);
- each line has three or four fields, a name without blanks at its ends, and
  coordinates of the form above, latitude within ±90°, longitude within ±180°;
- names are in alphabetical order (Russian alphabet, ё as е, case ignored,
  blank and hyphen before every letter) and no name occurs twice;
- each zone is a zone of zone.tab or zone1970.tab (so no backward link such as
  Europe/Kiev), exists as a compiled zone file, and the tables give it to the
  country the name mapping says the place is in;
- each place that the tables name a zone after lies within 0.02° in latitude
  and in longitude of the table's point (given to the arc minute or second),
  or within the allowance named below with its reason.

Exit status 0 when everything holds, 1 otherwise; every failure is printed.
"""

import argparse
import math
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

TOLERANCE_DEG = 0.02

# The place each zone is named after, as our list names it. Every one of them
# must be in the list with that zone.
ZONE_CITIES = {
    'Europe/Kaliningrad': 'Калининград',
    'Europe/Moscow': 'Москва',
    'Europe/Simferopol': 'Симферополь',
    'Europe/Kirov': 'Киров',
    'Europe/Volgograd': 'Волгоград',
    'Europe/Astrakhan': 'Астрахань',
    'Europe/Saratov': 'Саратов',
    'Europe/Ulyanovsk': 'Ульяновск',
    'Europe/Samara': 'Самара',
    'Asia/Yekaterinburg': 'Екатеринбург',
    'Asia/Omsk': 'Омск',
    'Asia/Novosibirsk': 'Новосибирск',
    'Asia/Barnaul': 'Барнаул',
    'Asia/Tomsk': 'Томск',
    'Asia/Novokuznetsk': 'Новокузнецк',
    'Asia/Krasnoyarsk': 'Красноярск',
    'Asia/Irkutsk': 'Иркутск',
    'Asia/Chita': 'Чита',
    'Asia/Yakutsk': 'Якутск',
    'Asia/Vladivostok': 'Владивосток',
    'Asia/Magadan': 'Магадан',
    'Asia/Sakhalin': 'Южно-Сахалинск',
    'Asia/Kamchatka': 'Петропавловск-Камчатский',
    'Asia/Anadyr': 'Анадырь',
    'Europe/Kyiv': 'Киев',
    'Europe/Minsk': 'Минск',
    'Europe/Chisinau': 'Кишинёв',
    'Europe/Riga': 'Рига',
    'Europe/Vilnius': 'Вильнюс',
    'Europe/Tallinn': 'Таллин',
    'Asia/Tbilisi': 'Тбилиси',
    'Asia/Yerevan': 'Ереван',
    'Asia/Baku': 'Баку',
    'Asia/Almaty': 'Алматы',
    'Asia/Qyzylorda': 'Кызылорда',
    'Asia/Qostanay': 'Костанай',
    'Asia/Aqtobe': 'Актобе',
    'Asia/Aqtau': 'Актау',
    'Asia/Atyrau': 'Атырау',
    'Asia/Oral': 'Уральск',
    'Asia/Tashkent': 'Ташкент',
    'Asia/Samarkand': 'Самарканд',
    'Asia/Bishkek': 'Бишкек',
    'Asia/Dushanbe': 'Душанбе',
    'Asia/Ashgabat': 'Ашхабад',
}

# Zones whose table point is further from the city's centre than 0.02°:
# allowance in degrees and the reason, printed with the result.
# None: not compared at all.
ZONE_ALLOWANCES = {
    'Europe/Volgograd': (0.10, 'the city stretches 70 km along the Volga and the table point is off its centre'),
    'Europe/Saratov': (0.03, 'the table point is off the centre'),
    'Asia/Krasnoyarsk': (0.05, 'the city spreads over both banks of the Yenisei; our point lies between the table\'s and GeoNames\''),
    'Asia/Irkutsk': (0.03, 'the table point is off the centre'),
    'Asia/Yakutsk': (0.07, 'the table gives the city only roughly (62°00\' 129°40\')'),
    'Asia/Vladivostok': (0.06, 'the table point lies in the northern districts'),
    'Asia/Kamchatka': (0.03, 'the city stretches 20 km along Avacha Bay; our point lies between the table\'s and GeoNames\''),
    'Asia/Baku': (0.03, 'the table point is off the centre'),
    'Asia/Qyzylorda': (0.06, 'the table point is off the centre'),
    'Asia/Aqtobe': (0.03, 'our point lies between the table\'s and GeoNames\''),
    'Asia/Aqtau': (None, 'the table point is Fort-Shevchenko on the Mangyshlak peninsula, not Aktau'),
    'Asia/Atyrau': (0.04, 'the table point is off the centre'),
    'Asia/Oral': (0.06, 'our point lies between the table\'s and GeoNames\', which are 0.08° apart'),
    'Asia/Tashkent': (0.05, 'a city of three million; our point lies between the table\'s and GeoNames\''),
    'Asia/Samarkand': (0.17, 'the table point lies 14 km west of the city'),
    'Asia/Dushanbe': (0.05, 'the table point lies in the northern outskirts'),
}

COORDINATE = re.compile(r"^(-?)(\d{1,3})°(\d{4})'$")


def parse_coordinate(text):
    """55°7558' -> 55.7558, -0°5000' -> -0.5; None if the text is not of that form."""
    m = COORDINATE.match(text)
    if not m:
        return None
    value = float(m.group(2) + '.' + m.group(3))
    return -value if m.group(1) else value


def collation_key(name):
    """Russian alphabetical order: case ignored, ё as е, blank and hyphen first."""
    return name.lower().replace('ё', 'е')


def parse_tab_coordinates(text):
    """+554521+0373704 or +5443+02030 (ISO 6709 as the tables write it) -> (lat, lon)."""
    m = re.fullmatch(r'([+-])(\d{2})(\d{2})(\d{2})?([+-])(\d{3})(\d{2})(\d{2})?', text)
    if not m:
        raise ValueError('bad coordinates in the zone table: ' + text)

    def value(sign, deg, minutes, seconds):
        v = int(deg) + int(minutes) / 60 + (int(seconds) if seconds else 0) / 3600
        return -v if sign == '-' else v

    return value(*m.group(1, 2, 3, 4)), value(*m.group(5, 6, 7, 8))


def read_zone_tables(zoneinfo):
    """Zone name -> (set of country codes, lat, lon) from zone.tab and zone1970.tab."""
    zones = {}
    for table in ('zone.tab', 'zone1970.tab'):
        path = os.path.join(zoneinfo, table)
        if not os.path.exists(path):
            continue
        with open(path, encoding='utf-8') as f:
            for line in f:
                if line.startswith('#') or not line.strip():
                    continue
                fields = line.rstrip('\n').split('\t')
                countries = set(fields[0].split(','))
                lat, lon = parse_tab_coordinates(fields[1])
                known = zones.get(fields[2])
                zones[fields[2]] = (countries | (known[0] if known else set()), lat, lon)
    return zones


def read_countries(mapping_path):
    """Russian name -> country code, from the GeoNames name mapping."""
    countries = {}
    if not os.path.exists(mapping_path):
        return countries
    with open(mapping_path, encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            fields = line.rstrip('\n').split('\t')
            if len(fields) >= 3:
                countries[fields[0]] = fields[2].split('.')[0]
    return countries


def where_is(lat, lon, ref_lat, ref_lon):
    """'the table point lies 3 km north-west of ours' for a reader of the output."""
    north_km = (lat - ref_lat) * 111.2
    east_km = (lon - ref_lon) * 111.2 * math.cos(math.radians(ref_lat))
    distance = math.hypot(north_km, east_km)
    if distance < 0.5:
        return 'the table point is ours'
    direction = ''
    if abs(north_km) >= 0.4 * distance:
        direction = 'north' if north_km > 0 else 'south'
    if abs(east_km) >= 0.4 * distance:
        direction += ('-' if direction else '') + ('east' if east_km > 0 else 'west')
    return f'the table point lies {distance:.0f} km {direction} of ours'


def is_compiled_zone(zoneinfo, zone):
    path = os.path.join(zoneinfo, zone)
    if not os.path.isfile(path):
        return False
    with open(path, 'rb') as f:
        return f.read(4) == b'TZif'


def check_encoding(raw, failures):
    """The text must be UTF-8 that iconv converts to Windows-1251. Returns the text or None."""
    if raw.startswith(b'\xef\xbb\xbf'):
        failures.append('the file begins with a byte-order mark')
    try:
        text = raw.decode('utf-8')
    except UnicodeDecodeError as e:
        failures.append(f'not valid UTF-8 at byte {e.start}')
        return None
    for number, line in enumerate(text.split('\n'), 1):
        try:
            line.encode('cp1251')
        except UnicodeEncodeError as e:
            failures.append(f'line {number}: {line[e.start]!r} has no Windows-1251 code')
    iconv = shutil.which('iconv')
    if iconv:
        run = subprocess.run([iconv, '-f', 'UTF-8', '-t', 'CP1251'], input=raw,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
        if run.returncode != 0:
            failures.append('iconv cannot convert the file to CP1251: '
                            + run.stderr.decode('utf-8', 'replace').strip())
    return text


def check_list(atlas_path, zoneinfo, mapping_path):
    """Returns (number of places, number compared with the zone tables, failures, notes)."""
    failures = []
    notes = []
    with open(atlas_path, 'rb') as f:
        raw = f.read()
    text = check_encoding(raw, failures)
    if text is None:
        return 0, 0, failures, notes
    if '\r' in text:
        failures.append('the file has CR characters; lines end with LF (the build writes CR LF)')
    if text and not text.endswith('\n'):
        failures.append('the last line has no line end')

    zones = read_zone_tables(zoneinfo)
    if not zones:
        failures.append(f'no zone.tab or zone1970.tab in {zoneinfo}')
    countries = read_countries(mapping_path)

    places = {}
    previous = None
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    for number, line in enumerate(lines, 1):
        where = f'line {number}'
        if line.strip() == '':
            failures.append(f'{where}: empty line')
            continue
        fields = line.split(';')
        if len(fields) not in (3, 4):
            failures.append(f'{where}: {len(fields)} fields, not 3 or 4: {line}')
            continue
        name = fields[0]
        if name == '' or name != name.strip():
            failures.append(f'{where}: the name is empty or has blanks at its ends: {name!r}')
        if "'" in name or '°' in name:
            failures.append(f'{where}: the name holds a degree or minute sign: {name}')
        lat = parse_coordinate(fields[1])
        lon = parse_coordinate(fields[2])
        if lat is None or not -90 <= lat <= 90:
            failures.append(f"{where} {name}: latitude {fields[1]!r} is not DD°DDDD' within ±90°")
        if lon is None or not -180 <= lon <= 180:
            failures.append(f"{where} {name}: longitude {fields[2]!r} is not DDD°DDDD' within ±180°")
        zone = fields[3] if len(fields) == 4 else None
        if zone is not None:
            if zone not in zones:
                failures.append(f'{where} {name}: {zone!r} is not a zone of zone.tab or zone1970.tab')
            elif not is_compiled_zone(zoneinfo, zone):
                failures.append(f'{where} {name}: no compiled zone {zone} in {zoneinfo}')
            elif name in countries and countries[name] not in zones[zone][0]:
                failures.append(f'{where} {name}: {zone} is a zone of {",".join(sorted(zones[zone][0]))}, '
                                f'the place is in {countries[name]}')
        key = collation_key(name)
        if previous is not None:
            if key == previous[1]:
                failures.append(f'{where}: {name} occurs twice (see {previous[0]})')
            elif key < previous[1]:
                failures.append(f'{where}: {name} is out of order, after {previous[0]}')
        previous = (name, key)
        if name in places:
            failures.append(f'{where}: {name} occurs twice')
        places[name] = (lat, lon, zone)

    compared = 0
    largest = (0.0, '')
    for zone, city in ZONE_CITIES.items():
        if city not in places:
            failures.append(f'{city}, after which {zone} is named, is not in the list')
            continue
        lat, lon, our_zone = places[city]
        if our_zone != zone:
            failures.append(f'{city}: zone {our_zone}, the tables name {zone} after it')
            continue
        if zone not in zones or lat is None or lon is None:
            continue
        _, tab_lat, tab_lon = zones[zone]
        allowance, reason = ZONE_ALLOWANCES.get(zone, (TOLERANCE_DEG, ''))
        where = where_is(tab_lat, tab_lon, lat, lon)
        if allowance is None:
            notes.append(f'{city}: not compared with {zone} ({where}) because {reason}')
            continue
        compared += 1
        d_lat, d_lon = abs(lat - tab_lat), abs(lon - tab_lon)
        largest = max(largest, (max(d_lat, d_lon), city))
        if max(d_lat, d_lon) > allowance + 1e-9:
            failures.append(f'{city}: ours {lat:.4f} {lon:.4f}, {zone} {tab_lat:.4f} {tab_lon:.4f}: '
                            f'off by {d_lat:.4f}° in latitude, {d_lon:.4f}° in longitude (allowed {allowance}°; {where})')
        elif reason:
            notes.append(f'{city}: off by {max(d_lat, d_lon):.4f}° from {zone} ({where}), allowed {allowance}° '
                         f'because {reason}')
    if largest[1]:
        notes.append(f'largest difference from a table point: {largest[0]:.4f}° ({largest[1]})')
    return len(places), compared, failures, notes


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('atlas', nargs='?', default=os.path.join(REPO, 'data', 'atlas.txt'))
    parser.add_argument('--zoneinfo', default='/usr/share/zoneinfo')
    parser.add_argument('--mapping', default=os.path.join(HERE, 'geonames_names.tsv'))
    args = parser.parse_args(argv)
    places, compared, failures, notes = check_list(args.atlas, args.zoneinfo, args.mapping)
    print(f'tz database check of {args.atlas} against {args.zoneinfo}')
    for note in notes:
        print('  note: ' + note)
    for failure in failures:
        print('  FAILED ' + failure)
    print(f'{places} places, {compared} compared with the zone tables, {len(failures)} failures')
    return 0 if not failures else 1


if __name__ == '__main__':
    sys.exit(main())
