// The world atlas of the process, as the program hands it in: the desktop
// programs load it from libgeonames on first use (atlas/geonames_atlas.h,
// UseGeonamesAtlas), the web page from its atlas file. The command line's
// birthplace lookup asks for it here, so that it runs on either.
#pragma once

#include <functional>
#include <string>

#include "place/world_atlas.h"

namespace toravel {

struct AtlasAvailability {
    const WorldAtlas* atlas = nullptr; // null when there is none
    // Why there is none, in Russian for the user: "атлас мест недоступен: …".
    std::string problem;
    // What the atlas lacks (its Russian names), in Russian; empty when complete.
    std::string note;
};

// Gives the atlas, loading it on the first call if it must; called only by
// the options that need a place.
using AtlasProvider = std::function<AtlasAvailability()>;

void SetAtlasProvider(AtlasProvider provider);

// The provider's atlas; "атлас мест недоступен" until a provider is set.
AtlasAvailability ProcessAtlas();

} // namespace toravel
