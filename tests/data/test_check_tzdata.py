"""The city list's tz database check must reject each kind of faulty list.

A checker that passes everything would let a broken atlas.txt reach the build,
so every fault is fed to it on a small list of its own.
"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'tools', 'check_city_list'))
import check_tzdata  # noqa: E402

ZONEINFO = '/usr/share/zoneinfo'
MOSCOW = "Москва;55°7558';37°6173';Europe/Moscow\n"
KYIV = "Киев;50°4500';30°5234';Europe/Kyiv\n"
MAPPING = "# Russian name\tGeoNames name\tcountry\nХарьков\tKharkiv\tUA\nМосква\tMoscow\tRU\n"


def run_check(content):
    """Failures of the check on a list with these bytes (str is written as UTF-8)."""
    data = content.encode('utf-8') if isinstance(content, str) else content
    with tempfile.TemporaryDirectory() as folder:
        atlas = os.path.join(folder, 'atlas.txt')
        mapping = os.path.join(folder, 'names.tsv')
        with open(atlas, 'wb') as f:
            f.write(data)
        with open(mapping, 'w', encoding='utf-8') as f:
            f.write(MAPPING)
        _, _, failures, _ = check_tzdata.check_list(atlas, ZONEINFO, mapping)
    # A small list lacks the cities the zones are named after; that is not the fault under test.
    return [f for f in failures if 'is not in the list' not in f]


@unittest.skipUnless(os.path.exists(os.path.join(ZONEINFO, 'zone.tab')), 'no tz database installed')
class FaultyListsAreRejected(unittest.TestCase):
    def test_a_sound_list_passes(self):
        self.assertEqual(run_check(KYIV + MOSCOW + "Харьков;49°9900';36°2400';Europe/Kyiv\n"), [])
        self.assertEqual(run_check("Ааа;0°0000';0°0000'\n"), [], 'a line without a zone is allowed')

    def test_each_fault_is_reported(self):
        cases = [
            ('out of order', MOSCOW + KYIV, 'out of order'),
            ('ё sorts and compares as е', "Орёл;52°9688';36°0791';Europe/Moscow\nОрел;52°9688';36°0791';Europe/Moscow\n",
             'occurs twice'),
            ('degrees and minutes instead of decimals', "Ааа;55°45';37°37';Europe/Moscow\n", 'latitude'),
            ('latitude out of range', "Ааа;95°0000';37°0000';Europe/Moscow\n", 'latitude'),
            ('longitude out of range', "Ааа;55°0000';181°0000';Europe/Moscow\n", 'longitude'),
            ('no degree sign', "Ааа;55.7558;37°6173';Europe/Moscow\n", 'latitude'),
            ('unknown zone', "Ааа;55°0000';37°0000';Europe/Atlantis\n", 'not a zone'),
            ('backward link instead of the zone', "Ааа;50°4500';30°5234';Europe/Kiev\n", 'not a zone'),
            ('zone of another country', "Харьков;49°9900';36°2400';Europe/Moscow\n", 'is a zone of RU'),
            ('zone city far from the table point', "Москва;56°7558';37°6173';Europe/Moscow\n", 'off by'),
            ('zone city with another zone', "Москва;55°7558';37°6173';Europe/Samara\n", 'the tables name Europe/Moscow'),
            ('too few fields', "Ааа;55°0000'\n", 'fields'),
            ('too many fields', "Ааа;55°0000';37°0000';Europe/Moscow;x\n", 'fields'),
            ('empty line', KYIV + "\n" + MOSCOW, 'empty line'),
            ('blank before the name', " Ааа;55°0000';37°0000';Europe/Moscow\n", 'blanks'),
            ('degree sign in the name', "А°а;55°0000';37°0000';Europe/Moscow\n", 'degree or minute sign'),
            ('letter without a Windows-1251 code', "Ağdam;40°0000';46°0000';Asia/Baku\n", 'Windows-1251'),
            ('Windows-1251 bytes instead of UTF-8', "Ааа;55°0000';37°0000';Europe/Moscow\n".encode('cp1251'),
             'not valid UTF-8'),
            ('byte-order mark', b'\xef\xbb\xbf' + MOSCOW.encode('utf-8'), 'byte-order mark'),
            ('CR LF line ends', KYIV.replace('\n', '\r\n'), 'CR'),
            ('no line end at the end', KYIV.rstrip('\n'), 'no line end'),
        ]
        for what, content, expected in cases:
            with self.subTest(what):
                failures = run_check(content)
                self.assertTrue(any(expected in f for f in failures),
                                f'{what}: expected a failure naming "{expected}", got {failures}')


class CoordinateTexts(unittest.TestCase):
    def test_list_coordinates(self):
        cases = [("55°7558'", 55.7558), ("-34°6037'", -34.6037), ("-0°5000'", -0.5),
                 ("177°4968'", 177.4968), ("55°45'", None), ("55°7558", None), ("+55°7558'", None),
                 (" 55°7558'", None)]
        for text, expected in cases:
            with self.subTest(text):
                self.assertEqual(check_tzdata.parse_coordinate(text), expected)

    def test_zone_table_coordinates(self):
        cases = [('+554521+0373704', (55 + 45 / 60 + 21 / 3600, 37 + 37 / 60 + 4 / 3600)),
                 ('+5443+02030', (54 + 43 / 60, 20 + 30 / 60)),
                 ('-3436-05827', (-(34 + 36 / 60), -(58 + 27 / 60)))]
        for text, (lat, lon) in cases:
            with self.subTest(text):
                got = check_tzdata.parse_tab_coordinates(text)
                self.assertAlmostEqual(got[0], lat, places=9)
                self.assertAlmostEqual(got[1], lon, places=9)


if __name__ == '__main__':
    unittest.main()
