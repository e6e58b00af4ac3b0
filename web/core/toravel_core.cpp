// The page's binding to the core: a handful of C functions over UTF-8 JSON
// texts and byte arrays (toravel-core.js wraps them for JavaScript). The
// page calls them from a Web Worker; nothing here formats a result for the
// screen, the page does that. Plain C functions rather than embind, whose
// glue builds functions from strings at run time, which the page's
// Content-Security-Policy forbids.
#include <emscripten/emscripten.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "place/atlas_bundle.h"
#include "place/birthplace_hint_place.h"
#include "place/birthplace_zone.h"
#include "place/zone_bundle.h"
#include "place/zone_file_source.h"
#include "web/core/calendar_days.h"

namespace toravel::web {
namespace {

using Json = nlohmann::ordered_json;

// The page's data, loaded once per worker.
struct CoreData {
    CalendarDays calendarDays;
    ZoneFiles zoneFiles;
    std::unique_ptr<const WorldAtlas> atlas;
};

CoreData& Data() {
    static CoreData data;
    return data;
}

// A document as text; bytes that are no UTF-8 (in a quoted input, say)
// are replaced rather than thrown on.
std::string Text(const Json& document) {
    return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The text a function returns stays valid until the next call.
const char* Answer(std::string text) {
    static std::string answer;
    answer = std::move(text);
    return answer.c_str();
}

Json PlaceJson(const AtlasPlace& place) {
    return {{"name", place.name},
            {"region", place.region},
            {"country", place.country},
            {"latitude", place.latitude},
            {"longitude", place.longitude},
            {"zone", place.zone},
            {"population", place.population},
            {"label", PlaceLabel(place)}};
}

} // namespace
} // namespace toravel::web

using namespace toravel;
using namespace toravel::web;

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* toravel_load_calendar(const char* json) {
    return Answer(Data().calendarDays.Load(json));
}

// Zones add to those loaded before, so that the page may fetch them in parts.
EMSCRIPTEN_KEEPALIVE const char* toravel_load_zones(const char* bytes, std::size_t size) {
    std::optional<ZoneFiles> files = ReadZoneBundle(std::string_view(bytes, size));
    if (!files)
        return Answer("часовые пояса не прочитаны");
    files->merge(Data().zoneFiles);
    Data().zoneFiles = std::move(*files);
    SetZoneFileReader([](std::string_view name) -> std::optional<std::string> {
        const ZoneFiles& zones = Data().zoneFiles;
        if (const auto found = zones.find(name); found != zones.end())
            return found->second;
        return std::nullopt;
    });
    return Answer({});
}

EMSCRIPTEN_KEEPALIVE const char* toravel_load_atlas(const char* bytes, std::size_t size) {
    std::optional<std::vector<AtlasPlace>> places = ReadAtlasBundle(std::string_view(bytes, size));
    if (!places)
        return Answer("атлас мест не прочитан");
    Data().atlas = std::make_unique<const WorldAtlas>(std::move(*places));
    return Answer({});
}

EMSCRIPTEN_KEEPALIVE const char* toravel_search_places(const char* text, int limit) {
    Json matches = Json::array();
    if (Data().atlas && limit > 0)
        for (const AtlasPlace* place : Data().atlas->Search(text, static_cast<std::size_t>(limit)))
            matches.push_back(PlaceJson(*place));
    return Answer(Text(matches));
}

EMSCRIPTEN_KEEPALIVE const char* toravel_nearest_place(double latitude, double longitude) {
    if (!Data().atlas)
        return Answer("null");
    const std::optional<NearbyPlace> nearest =
        Data().atlas->NearestWithin({latitude, longitude}, kNearestPlaceRadiusKm);
    if (!nearest)
        return Answer("null");
    return Answer(
        Text({{"place", PlaceJson(*nearest->place)}, {"distance_km", nearest->distanceKm}}));
}

} // extern "C"
