// The zones' rules of the desktop programs: the compiled zone files of the
// system's tz database (Debian's tzdata), the same files the C library and
// Python's zoneinfo read. The folder is $TZDIR when that is an absolute
// path, /usr/share/zoneinfo otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toravel {

// The bytes of the zone file, or nothing when there is no such regular file
// of at most a mebibyte (a zone file has a few kilobytes). The name is the
// zone's IANA name, checked by the caller (place/zone_file_source.h).
std::optional<std::string> ReadSystemZoneFile(std::string_view zoneName);

// Makes the system's tz database the source of every zone's rules; each
// desktop program calls it first thing in main().
void UseSystemZoneFiles();

} // namespace toravel
