// Where the zones' rules come from. The core reads a zone's clock from the
// bytes of its compiled zone file (place/zone_rules.h) and asks the program
// for them by the zone's IANA name: the desktop programs read the system's
// tz database (zoneinfo/system_zone_files.h), the web page hands in its own
// copy. Each zone is read and parsed once per process.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "place/zone_rules.h"

namespace toravel {

// The bytes of the zone file named `zoneName` ("Europe/Berlin"), or nothing
// when there is no such zone. Called with names that passed the check of
// ZoneRulesNamed only, possibly from several threads.
using ZoneFileReader = std::function<std::optional<std::string>(std::string_view zoneName)>;

// Sets the reader and forgets every zone read so far. Until a reader is set,
// no zone is known.
void SetZoneFileReader(ZoneFileReader reader);

// The rules of the zone, or null when the name is empty or no zone name
// (only letters, digits, "/", "_", "-" and "+", no "..", not absolute, not
// "localtime"), when the reader has no such zone, or its file is damaged.
// Blanks and control characters around the name are ignored.
std::shared_ptr<const ZoneRules> ZoneRulesNamed(std::string_view zoneName);

} // namespace toravel
