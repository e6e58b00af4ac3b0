#!/usr/bin/env python3
"""The program's zone offsets against Python's zoneinfo over the same system
tz database: for every zone the atlas and the city list use, the offset at
00:00 and 12:00 local time of the 1st and the 15th of every month of 1900 to
2100. Prints the figures and every difference; exits 1 on any.

    compare_with_zoneinfo.py build/tools/check_zones/toravel-zone-offsets data/atlas.txt
"""
import subprocess
import sys
from datetime import datetime
from zoneinfo import ZoneInfo

GRID = [(y, m, d, h) for y in range(1900, 2101) for m in range(1, 13)
        for d in (1, 15) for h in (0, 12)]


def main():
    tool, city_list = sys.argv[1], sys.argv[2]
    zones = subprocess.run([tool, "--atlas-zones", city_list], check=True,
                           capture_output=True, text=True).stdout.split()
    grid = subprocess.run([tool, "--grid"], input="\n".join(zones) + "\n", check=True,
                          capture_output=True, text=True).stdout.splitlines()
    differences = 0
    for line in grid:
        name, offsets = line.split("\t")
        ours = offsets.split()
        zone = ZoneInfo(name)
        for (y, m, d, h), our in zip(GRID, ours, strict=True):
            theirs = int(datetime(y, m, d, h, tzinfo=zone).utcoffset().total_seconds())
            if our != str(theirs):
                differences += 1
                if differences <= 20:
                    print(f"{name} {d:02}.{m:02}.{y} {h:02}:00: ours {our}, zoneinfo {theirs}")
    print(f"{len(grid)} zones, {len(grid) * len(GRID)} offsets, {differences} differences")
    return 1 if differences or len(grid) != len(zones) else 0


if __name__ == "__main__":
    sys.exit(main())
