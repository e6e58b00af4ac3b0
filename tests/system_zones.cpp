// Every test and benchmark program reads the zones' rules from the system's
// tz database, as the desktop programs do.
#include "zoneinfo/system_zone_files.h"

namespace {

const bool kSystemZonesInUse = [] {
    toravel::UseSystemZoneFiles();
    return true;
}();

} // namespace
