// The atlas's search and the zone hint's choice of place over arbitrary
// bytes: the bytes as a search text, and split at the first line feed as the
// texts of the latitude and longitude fields. The system's atlas where the
// geonames library is installed, else a small one. At most 20 matches, each
// a place of the atlas; a hint's place lies within 50 km of numbers on the
// Earth.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "atlas/geonames_atlas.h"
#include "place/birthplace_hint_place.h"

using namespace toravel;

namespace {

const WorldAtlas& Atlas() {
    static const WorldAtlas small({
        {"Москва",
         "Москва",
         "Россия",
         55.75222,
         37.61556,
         "Europe/Moscow",
         10381222,
         "Moscow",
         {},
         false},
        {"Ростов-на-Дону",
         "",
         "Россия",
         47.23135,
         39.72328,
         "Europe/Moscow",
         1074482,
         "",
         {},
         false},
    });
    const AtlasLoad& load = SharedWorldAtlas();
    return load.atlas ? *load.atlas : small;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Atlas(); // loaded once, before the inputs
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const WorldAtlas& atlas = Atlas();
    const auto found = atlas.Search(bytes);
    if (found.size() > 20)
        std::abort();
    for (const AtlasPlace* place : found)
        if (place < atlas.places().data() || place >= atlas.places().data() + atlas.places().size())
            std::abort();

    const std::size_t feed = bytes.find('\n');
    const std::string_view latitude = bytes.substr(0, feed);
    const std::string_view longitude = feed == std::string_view::npos ? "" : bytes.substr(feed + 1);
    const HintPlace place =
        ChooseHintPlace(latitude, longitude, std::nullopt, [&] { return &atlas; });
    if (place.source == HintPlaceSource::NearestAtlasPlace) {
        const auto point = FieldCoordinates(latitude, longitude);
        if (!point || !place.atlasPlace ||
            GreatCircleKm(*point, {place.atlasPlace->latitude, place.atlasPlace->longitude}) >
                50.001)
            std::abort();
    }
    MakeHintForPlace(place, 40000.5, 3 * 3600);
    return 0;
}
