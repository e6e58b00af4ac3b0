#!/usr/bin/env python3
"""The atlas's additions from the tz database and CLDR, written as two tables
of data/ that the desktop's atlas loader compiles in:

- zone_places.tsv: the principal location of every zone of zone.tab, with
  its coordinates and its Russian name as CLDR's exemplar city (the time
  zones' city names); either a geonames place it is (the same name in English
  or Russian within 150 km in the same country, or, for a zone named after its
  country, the nearest place of that country within 20 km), or a place of its
  own;
- region_names.tsv: the Russian names, from CLDR's subdivision names, of the
  regions that the geonames catalog leaves in English, matched by their
  English names within the country.

    python3 tools/make_atlas_additions.py [CLDR_COMMON] [ZONEINFO]

CLDR_COMMON is the `common` folder of Debian's unicode-cldr-core
(/usr/share/unicode/cldr/common), ZONEINFO the system's tz database
(/usr/share/zoneinfo); libgeonames0 and libgeonames-common give the places.
Writes both files into data/ beside this script's folder; the same inputs
always give the same bytes.
"""
import collections
import ctypes
import gettext
import math
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ElementTree

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SAME_NAME_KM = 150.0
COUNTRY_NAMED_KM = 20.0
CYRILLIC = re.compile('[\u0400-\u04ff]')
SUPERSCRIPTS = re.compile('[¹²³⁴⁵⁶⁷⁸⁹]')
SUBDIVISION_WORDS = {
    'autonomous', 'city', 'community', 'county', 'department', 'departamento', 'district',
    'estado', 'governorate', 'kray', 'krai', 'municipality', 'oblast', 'of', 'okrug',
    'prefecture', 'province', 'provincia', 'region', 'republic', 'state', 'territory', 'the',
    'de', 'del', 'do', 'da', 'kraj', 'division',
}
# Regions whose English names in geonames and CLDR differ beyond the folding
# above, matched by hand to their CLDR subdivision codes (the regions of most
# places among those left unmatched).
REGIONS_BY_HAND = {
    ('BE', 'Walloon Region'): 'bewal',
    ('BE', 'Brussels Capital'): 'bebru',
    ('CM', 'South-West Region'): 'cmsw',
    ('CN', 'Guangxi Zhuang Autonomous Region'): 'cngx',
    ('CN', 'Ningxia Hui Autonomous Region'): 'cnnx',
    ('CN', 'Xinjiang Uyghur Autonomous Region'): 'cnxj',
    ('EG', 'Sharqia Province'): 'egshr',
    ('ET', 'Oromiya'): 'etor',
    ('FR', 'Normandy'): 'frnor',
    ('IR', 'West Azerbaijan Province'): 'ir02',
    ('KP', 'Hamgyŏng-bukto'): 'kp09',
    ('KP', 'Hamgyŏng-namdo'): 'kp08',
    ('KP', 'Hwanghae-namdo'): 'kp05',
    ('KR', 'Chungcheongnam-do'): 'kr44',
    ('KR', 'Gyeongsangbuk-do'): 'kr47',
    ('KR', 'Gyeongsangnam-do'): 'kr48',
    ('KR', 'Jeollabuk-do'): 'kr45',
    ('KR', 'Jeollanam-do'): 'kr46',
    ('KZ', 'Mangghystaū'): 'kzman',
    ('KZ', 'Qostanay'): 'kzkus',
    ('KZ', 'Qyzylorda'): 'kzkzy',
    ('SK', 'Prešovský kraj'): 'skpv',
    ('SK', 'Trenčiansky kraj'): 'sktc',
}


def fold(text):
    """A name as the atlas compares names: lower case, no accents, ё as е,
    apostrophes dropped, other separators one blank."""
    text = unicodedata.normalize('NFKD', text.lower().replace('ё', 'е').replace('й', '\0'))
    text = ''.join(c for c in text if not unicodedata.combining(c)).replace('\0', 'й')
    text = re.sub("['’ʼ`]", '', text)
    return ' '.join(re.split(r'[\s\-‐-―.,()/"«»]+', text)).strip()


def subdivision_core(english):
    """The distinctive words of a region's English name ("Île-de-France
    Region" → "ile france")."""
    words = [w for w in fold(english).split() if w not in SUBDIVISION_WORDS]
    return ' '.join(words)


def distance_km(a, b):
    (la1, lo1), (la2, lo2) = [(math.radians(x), math.radians(y)) for x, y in (a, b)]
    h = (math.sin((la2 - la1) / 2) ** 2 +
         math.cos(la1) * math.cos(la2) * math.sin((lo2 - lo1) / 2) ** 2)
    return 2 * 6371.0088 * math.asin(min(1.0, math.sqrt(h)))


def zone_tab_angle(text, degree_digits):
    sign = -1 if text[0] == '-' else 1
    digits = text[1:]
    value = int(digits[:degree_digits]) + int(digits[degree_digits:degree_digits + 2]) / 60
    if len(digits) == degree_digits + 4:
        value += int(digits[degree_digits + 2:]) / 3600
    return sign * value


def read_zone_tab(zoneinfo):
    rows = []
    with open(os.path.join(zoneinfo, 'zone.tab'), encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            country, coordinates, zone = line.rstrip('\n').split('\t')[:3]
            split = max(coordinates.rfind('+'), coordinates.rfind('-'))
            rows.append((zone, country, zone_tab_angle(coordinates[:split], 2),
                         zone_tab_angle(coordinates[split:], 3)))
    return rows


class Cldr:
    def __init__(self, common):
        self.aliases = {}
        bcp47 = ElementTree.parse(os.path.join(common, 'bcp47', 'timezone.xml'))
        for zone in bcp47.iter('type'):
            names = zone.get('alias', '').split()
            for name in names:
                self.aliases[name] = names[0]
        self.cities = {lang: self._cities(common, lang) for lang in ('ru', 'en')}
        ru = ElementTree.parse(os.path.join(common, 'main', 'ru.xml'))
        self.territories = {t.get('type'): t.text for t in ru.iter('territory')
                            if t.get('alt') is None}
        self.subdivisions = {lang: self._subdivisions(common, lang) for lang in ('ru', 'en')}

    @staticmethod
    def _cities(common, lang):
        tree = ElementTree.parse(os.path.join(common, 'main', lang + '.xml'))
        return {zone.get('type'): zone.findtext('exemplarCity')
                for zone in tree.iter('zone') if zone.findtext('exemplarCity')}

    @staticmethod
    def _subdivisions(common, lang):
        tree = ElementTree.parse(os.path.join(common, 'subdivisions', lang + '.xml'))
        return {s.get('type'): s.text for s in tree.iter('subdivision')}

    def city(self, zone, lang):
        canonical = self.aliases.get(zone, zone)
        name = self.cities[lang].get(canonical) or self.cities[lang].get(zone)
        if name is None and lang == 'en':
            name = zone.rsplit('/', 1)[-1].replace('_', ' ')
        return name


class Geonames:
    """The places of Debian's libgeonames with the Russian names of its
    catalog."""

    def __init__(self):
        library = ctypes.CDLL('libgeonames.so.0')
        glib = ctypes.CDLL('libglib-2.0.so.0')
        library.geonames_get_city.restype = ctypes.c_void_p
        library.geonames_get_city.argtypes = [ctypes.c_int]
        library.geonames_city_free.argtypes = [ctypes.c_void_p]
        glib.g_variant_get_child_value.restype = ctypes.c_void_p
        glib.g_variant_get_child_value.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
        glib.g_variant_get_string.restype = ctypes.c_char_p
        glib.g_variant_get_string.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        glib.g_variant_get_uint32.restype = ctypes.c_uint32
        glib.g_variant_get_uint32.argtypes = [ctypes.c_void_p]
        glib.g_variant_get_double.restype = ctypes.c_double
        glib.g_variant_get_double.argtypes = [ctypes.c_void_p]
        glib.g_variant_unref.argtypes = [ctypes.c_void_p]
        with open('/usr/share/locale/ru/LC_MESSAGES/geonames.mo', 'rb') as f:
            self.catalog = gettext.GNUTranslations(f)

        def member(value, index, kind):
            child = glib.g_variant_get_child_value(value, index)
            if kind == 's':
                result = glib.g_variant_get_string(child, None).decode('utf-8')
            elif kind == 'u':
                result = glib.g_variant_get_uint32(child)
            else:
                result = glib.g_variant_get_double(child)
            glib.g_variant_unref(child)
            return result

        Place = collections.namedtuple(
            'Place', 'id name region_code region country_code country zone population '
                     'latitude longitude russian')
        self.places = []
        for i in range(library.geonames_get_n_cities()):
            value = library.geonames_get_city(i)
            fields = [member(value, k, kind) for k, kind in enumerate('sssssssudd')]
            library.geonames_city_free(value)
            self.places.append(Place(*fields, self.translated(fields[0])))

    def translated(self, key):
        text = self.catalog.gettext(key)
        return None if text == key else text


def zone_places(zones, cldr, geonames):
    by_country = collections.defaultdict(list)
    for place in geonames.places:
        by_country[place.country_code].append(place)
    lines = []
    for zone, country, latitude, longitude in zones:
        russian = cldr.city(zone, 'ru') or ''
        english = cldr.city(zone, 'en')
        country_name = (geonames.translated(country) or cldr.territories.get(country) or
                        country)
        # "Монтиселло, Кентукки": the town, and its state as the region.
        name, _, region = russian.partition(', ')
        names = {fold(n) for n in (russian, name, english) if n}
        nearby = sorted((distance_km((latitude, longitude), (p.latitude, p.longitude)), p.id, p)
                        for p in by_country[country])
        same = [(d, p) for d, _, p in nearby if d <= SAME_NAME_KM and
                (fold(p.name) in names or (p.russian and fold(p.russian) in names))]
        if same:
            place = same[0][1]
        elif russian and russian == cldr.territories.get(country) and nearby and \
                nearby[0][0] <= COUNTRY_NAMED_KM:
            place = nearby[0][2]
        else:
            place = None
        lines.append('\t'.join([
            zone, country, f'{latitude:.4f}', f'{longitude:.4f}', name, region,
            english, country_name, place.id if place else '',
            (place.russian or place.name) if place else '']))
    return lines


def region_names(cldr, geonames):
    """(country code, English region, Russian region) for the regions the
    catalog leaves in English, where CLDR names exactly one subdivision of
    the country so."""
    untranslated = set()
    for place in geonames.places:
        # Some of the catalog's "Russian" region names are in Latin letters.
        russian = geonames.translated(place.country_code + '.' + place.region_code) or ''
        if place.region and not CYRILLIC.search(russian):
            untranslated.add((place.country_code, place.region))
    cores = collections.defaultdict(list)
    for code, english in cldr.subdivisions['en'].items():
        russian = cldr.subdivisions['ru'].get(code)
        # A superscript tells apart two subdivisions of one name: in English
        # it is dropped, a Russian name that needs one is no name to show.
        english = SUPERSCRIPTS.sub('', english or '')
        if russian and english and not SUPERSCRIPTS.search(russian):
            cores[(code[:2].upper(), fold(english))].append(russian)
            cores[(code[:2].upper(), subdivision_core(english))].append(russian)
    lines = []
    for country, english in sorted(untranslated):
        by_hand = cldr.subdivisions['ru'].get(REGIONS_BY_HAND.get((country, english)))
        if by_hand:
            lines.append(f'{country}\t{english}\t{by_hand}')
            continue
        for key in (fold(english), subdivision_core(english)):
            candidates = sorted(set(cores.get((country, key), [])))
            if len(candidates) == 1:
                lines.append(f'{country}\t{english}\t{candidates[0]}')
                break
    return lines


def main():
    common = sys.argv[1] if len(sys.argv) > 1 else '/usr/share/unicode/cldr/common'
    zoneinfo = sys.argv[2] if len(sys.argv) > 2 else '/usr/share/zoneinfo'
    cldr = Cldr(common)
    geonames = Geonames()
    with open(os.path.join(common, 'dtd', 'ldml.dtd'), encoding='utf-8') as f:
        version = re.search(r'cldrVersion CDATA #FIXED "([^"]+)"', f.read()).group(1)
    with open(os.path.join(zoneinfo, 'tzdata.zi'), encoding='utf-8') as f:
        tzdata = f.readline().split()[-1]
    source = f'# Generated by tools/make_atlas_additions.py from tzdata {tzdata}, CLDR ' \
             f'{version} and libgeonames; ' \
             'do not edit.\n'

    with open(os.path.join(ROOT, 'data', 'zone_places.tsv'), 'w', encoding='utf-8') as f:
        f.write(source)
        f.write('# zone\tcountry\tlatitude\tlongitude\tname\tregion\tEnglish name\t'
                'country name\tgeonames id\tgeonames name\n')
        for line in zone_places(read_zone_tab(zoneinfo), cldr, geonames):
            f.write(line + '\n')
    with open(os.path.join(ROOT, 'data', 'region_names.tsv'), 'w', encoding='utf-8') as f:
        f.write(source)
        f.write('# country\tregion in English\tregion in Russian\n')
        for line in region_names(cldr, geonames):
            f.write(line + '\n')


if __name__ == '__main__':
    main()
