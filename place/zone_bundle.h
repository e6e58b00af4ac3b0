// The compiled zone files of the zones the atlas uses, as one file for the
// web page, which has no tz database of its own: written at build time from
// the system's files (tools/web_data), handed to SetZoneFileReader in the
// browser.
//
// Binary: a first line "toravel-zones/1", then for each zone a line with its
// name, a line with the file's length in bytes, and the file's bytes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace toravel {

using ZoneFiles = std::map<std::string, std::string, std::less<>>;

inline constexpr std::string_view ZoneBundleMagic = "toravel-zones/1";

// Nothing when the bytes are not such a file.
std::optional<ZoneFiles> ReadZoneBundle(std::string_view bytes);

} // namespace toravel
