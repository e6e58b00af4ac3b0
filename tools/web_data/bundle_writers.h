// The web page's two bundles as the build writes them: the atlas's places
// (read back by place/atlas_bundle.h) and the zones' files (read back by
// place/zone_bundle.h). Only the build writes them, natively; the page only
// reads.
#pragma once

#include <string>
#include <vector>

#include "place/world_atlas.h"
#include "place/zone_bundle.h"

namespace toravel {

std::string WriteAtlasBundle(const std::vector<AtlasPlace>& places);

std::string WriteZoneBundle(const ZoneFiles& files);

} // namespace toravel
