// The texts of data/zone_places.tsv, data/region_names.tsv and
// data/atlas_corrections.tsv, compiled into the program by the build
// (embed_tables.cmake writes atlas_tables.generated.cpp).
#pragma once

#include <string_view>

namespace toravel {

extern const std::string_view kZonePlacesTable;
extern const std::string_view kRegionNamesTable;
extern const std::string_view kAtlasCorrectionsTable;

} // namespace toravel
