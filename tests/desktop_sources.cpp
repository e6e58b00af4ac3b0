// Every test and benchmark program takes its zones' rules, its world atlas
// and its city list where the desktop programs do: the system's tz
// database, libgeonames, db/atlas.ini files.
#include "atlas/geonames_atlas.h"
#include "place/city_list_source.h"
#include "storage/city_list.h"
#include "zoneinfo/system_zone_files.h"

namespace {

const bool kDesktopSourcesInUse = [] {
    toravel::UseSystemZoneFiles();
    toravel::UseGeonamesAtlas();
    toravel::SetCityListReader(toravel::LoadCityList);
    return true;
}();

} // namespace
