// The zones' offsets as the program reads them, for the comparison with
// Python's zoneinfo over the same system tz database
// (compare_with_zoneinfo.py runs it):
//
//   toravel-zone-offsets --atlas-zones data/atlas.txt
//       the zones the atlas's places and the city list use, one a line;
//   toravel-zone-offsets --grid < zones
//       for each zone named on standard input, one line: the name, a tab,
//       and the offsets in seconds at 00:00 and 12:00 local time of the 1st
//       and the 15th of every month of 1900 to 2100, blank-separated.
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "atlas/geonames_atlas.h"
#include "place/birthplace_zone.h"
#include "platform/tdatetime.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;

int PrintAtlasZones(const char* cityListPath) {
    std::set<std::string> zones;
    const AtlasLoad& atlas = SharedWorldAtlas();
    if (!atlas.atlas) {
        std::cerr << atlas.problem << '\n';
        return 1;
    }
    for (const AtlasPlace& place : atlas.atlas->places())
        zones.insert(place.zone);
    std::ifstream cityList(cityListPath);
    if (!cityList) {
        std::cerr << "cannot read " << cityListPath << '\n';
        return 1;
    }
    for (std::string line; std::getline(cityList, line);) {
        const std::size_t zone = line.rfind(';');
        if (zone != std::string::npos && zone + 1 < line.size())
            zones.insert(line.substr(zone + 1));
    }
    for (const std::string& zone : zones)
        std::cout << zone << '\n';
    return 0;
}

int PrintGrid() {
    for (std::string zone; std::getline(std::cin, zone);) {
        std::ostringstream line;
        line << zone << '\t';
        for (int year = 1900; year <= 2100; ++year)
            for (int month = 1; month <= 12; ++month)
                for (int day : {1, 15})
                    for (int hour : {0, 12}) {
                        const std::optional<BirthplaceOffset> offset =
                            BirthplaceOffsetAt(zone, EncodeDateTime(year, month, day, hour));
                        if (offset)
                            line << offset->offsetSeconds << ' ';
                        else
                            line << "- ";
                    }
        std::cout << line.str() << '\n';
    }
    return std::cout ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    UseSystemZoneFiles();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--atlas-zones" && argc == 3)
        return PrintAtlasZones(argv[2]);
    if (mode == "--grid" && argc == 2)
        return PrintGrid();
    std::cerr << "usage: toravel-zone-offsets --atlas-zones CITY_LIST | --grid < ZONES\n";
    return 2;
}
