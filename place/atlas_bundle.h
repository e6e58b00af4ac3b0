// The world atlas as one file, for the web page: the desktop builds its
// atlas (atlas/) and the build writes it out (tools/web_data); the page
// reads it back with ReadAtlasBundle into the very same places, so that a
// search and a place's coordinates and zone are the desktop's to the bit.
//
// UTF-8 text, tab-separated, compressing well: a first line
// "toravel-atlas/2"; a line with the number of zones, then one zone a line;
// the same for countries and regions; a line with the number of places,
// then one place a line: name, other name, region index, country index,
// latitude, longitude (the shortest decimals that read back as the same
// double), zone index, population, 1 for a principal place or 0, then its
// aliases, if any, one a field. (Format 1 had neither the principal mark
// nor the aliases.)
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "place/world_atlas.h"

namespace toravel {

inline constexpr std::string_view AtlasBundleMagic = "toravel-atlas/2";

// Nothing when the text is not such a file (a wrong first line, a count or
// index out of range, a coordinate that is no number, a field too many or
// too few), so that a damaged download is refused, never half read.
std::optional<std::vector<AtlasPlace>> ReadAtlasBundle(std::string_view text);

} // namespace toravel
