#!/usr/bin/env python3
"""Random births for trying toravel-cli --batch: dates over 1900-2030 at 50
places of the city list (every sixth line of data/atlas.txt) with their IANA
zones, the same births for the same seed.

    tools/make_batch_births.py 20000 > births.csv
    /usr/bin/time -v build/toravel-cli --db build/db --batch births.csv > /dev/null
"""
import random
import sys
from pathlib import Path

count = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
seed = int(sys.argv[2]) if len(sys.argv) > 2 else 20261210
atlas = Path(__file__).resolve().parent.parent / "data" / "atlas.txt"
places = []
for index, line in enumerate(atlas.read_text(encoding="utf-8").splitlines()):
    fields = line.split(";")
    if index % 6 == 0 and len(fields) >= 4 and len(places) < 50:
        degrees = [f.replace("°", ".").split("'")[0] for f in fields[1:3]]
        places.append((degrees[0], degrees[1], fields[3]))

generator = random.Random(seed)
out = sys.stdout
out.write("name,date,time,latitude,longitude,zone_name\n")
for i in range(count):
    latitude, longitude, zone = generator.choice(places)
    year = generator.randint(1900, 2030)
    month = generator.randint(1, 12)
    day = generator.randint(1, 28)
    minute = generator.randint(0, 1439)
    out.write(f"b{i},{day:02d}.{month:02d}.{year:04d},{minute // 60:02d}:{minute % 60:02d},"
              f"{latitude},{longitude},{zone}\n")
