#include "command_line/birthplace_lookup.h"

#include <cmath>

#include "command_line/json_document.h"
#include "command_line/option_values.h"
#include "place/birthplace_hint_place.h"
#include "place/city_line.h"
#include "place/city_list_source.h"
#include "place/process_atlas.h"

namespace toravel::command_line {
namespace {

constexpr std::size_t kListedPlaces = 20;

BirthplaceLookup Usage(const std::string& problem) {
    return {std::nullopt, UsageError(problem)};
}

// The atlas, naming on `err` what it lacks; nothing, with the failure, when
// there is none.
const WorldAtlas* AtlasOrProblem(std::ostream& err, BirthplaceLookup& failure) {
    const AtlasAvailability load = ProcessAtlas();
    if (!load.note.empty())
        err << load.note << '\n';
    if (!load.atlas) {
        failure = {std::nullopt,
                   CommandError{ExitFailed, error_code::AtlasUnavailable, load.problem}};
        return nullptr;
    }
    return load.atlas;
}

Birthplace OfAtlasPlace(const AtlasPlace& place) {
    return {place.name,      place.region == place.name ? std::string() : place.region,
            place.country,   place.latitude,
            place.longitude, place.zone,
            std::nullopt};
}

BirthplaceLookup FromCityList(const CommandOptions& o) {
    for (const std::string& line : ReadCityList(o.db + "/atlas.ini")) {
        CityIdentity identity = CityIdentityOfLine(line);
        if (identity.name != o.city)
            continue;
        const CityCoordinateTexts texts = ApplyCityLine(line);
        ResolvedBirthplace resolved;
        resolved.latitude = texts.latitude;
        resolved.longitude = texts.longitude;
        const auto point = FieldCoordinates(texts.latitude, texts.longitude);
        resolved.place = Birthplace{identity.name,
                                    {},
                                    {},
                                    point ? std::optional<double>(point->latitude) : std::nullopt,
                                    point ? std::optional<double>(point->longitude) : std::nullopt,
                                    identity.zone,
                                    std::nullopt};
        resolved.zone = identity.zone;
        resolved.zoneOwner = "населенного пункта «" + o.city + "»";
        return {std::move(resolved), std::nullopt};
    }
    return Usage("--city: нет населенного пункта " + QuotedValue(o.city) + " в списке");
}

BirthplaceLookup FromAtlas(const CommandOptions& o, std::ostream& err) {
    BirthplaceLookup failure;
    const WorldAtlas* atlas = AtlasOrProblem(err, failure);
    if (atlas == nullptr)
        return failure;
    const auto found = atlas->Search(*o.place, 1);
    if (found.empty())
        return Usage("--place: в атласе нет места, чье название начинается с " +
                     QuotedValue(*o.place));
    const AtlasPlace& place = *found.front();
    err << "место: " << PlaceLine(place) << '\n';
    ResolvedBirthplace resolved;
    resolved.latitude = CoordinateFieldText(place.latitude);
    resolved.longitude = CoordinateFieldText(place.longitude);
    resolved.place = OfAtlasPlace(place);
    resolved.zone = place.zone;
    resolved.zoneOwner = "места «" + PlaceFullName(place) + "»";
    return {std::move(resolved), std::nullopt};
}

// Typed coordinates whose zone is taken from the nearest place: asked for
// by --auto-zone, or taken because no clock was named.
BirthplaceLookup NearestToTyped(const CommandOptions& o, std::ostream& err) {
    const auto point = FieldCoordinates(o.latitude, o.longitude);
    if (!point)
        return Usage("--auto-zone: по --lat " + QuotedValue(o.latitude) + " и --lon " +
                     QuotedValue(o.longitude) +
                     " место не найти: нужны числа, широта от -90 до 90, долгота от -180 до 180");
    BirthplaceLookup failure;
    const WorldAtlas* atlas = AtlasOrProblem(err, failure);
    if (atlas == nullptr) {
        if (!o.autoZone)
            failure.error->message += "; часы места не определить, задайте " + o.clockNaming;
        return failure;
    }
    const auto nearest = atlas->NearestWithin(*point, kNearestPlaceRadiusKm);
    if (!nearest) {
        const std::string where = "в " + std::to_string(static_cast<int>(kNearestPlaceRadiusKm)) +
                                  " км от " + o.latitude + "; " + o.longitude + " нет места атласа";
        if (o.autoZone)
            return Usage("--auto-zone: " + where +
                         ", часовой пояс не определить; задайте --zone-name или --utc-offset");
        return Usage(where + ": часы места не определить, задайте " + o.clockNaming);
    }
    const AtlasPlace& place = *nearest->place;
    const HintPlace hintPlace{HintPlaceSource::NearestAtlasPlace, place.name, place.zone,
                              nearest->distanceKm, &place};
    ResolvedBirthplace resolved;
    resolved.latitude = o.latitude;
    resolved.longitude = o.longitude;
    resolved.place = OfAtlasPlace(place);
    resolved.place->distanceKm = nearest->distanceKm;
    resolved.zone = place.zone;
    resolved.zoneOwner = "места атласа «" + PlaceFullName(place) + "»";
    resolved.hintWording = HintPlaceWording(hintPlace);
    err << "место: ближайшее место атласа, " << DistanceKmText(nearest->distanceKm) << ": "
        << PlaceLine(place) << '\n';
    return {std::move(resolved), std::nullopt};
}

} // namespace

BirthplaceLookup LookUpBirthplace(const CommandOptions& o, bool wantZone, std::ostream& err) {
    if (!o.city.empty())
        return FromCityList(o);
    if (o.place)
        return FromAtlas(o, err);
    if (wantZone) {
        if (o.latitude.empty() || o.longitude.empty())
            return Usage("--auto-zone требует --city, --place или --lat с --lon");
        return NearestToTyped(o, err);
    }
    ResolvedBirthplace typed;
    typed.latitude = o.latitude;
    typed.longitude = o.longitude;
    return {std::move(typed), std::nullopt};
}

std::string PlaceLine(const AtlasPlace& place) {
    return PlaceFullName(place) + " (" + CoordinateFieldText(place.latitude) + "; " +
           CoordinateFieldText(place.longitude) + "), " + place.zone;
}

std::string BirthplaceName(const Birthplace& place) {
    std::string name = place.name;
    for (const std::string* part : {&place.region, &place.country})
        if (!part->empty())
            name += ", " + *part;
    return name;
}

Json BirthplaceJson(const std::optional<Birthplace>& place) {
    if (!place)
        return nullptr;
    const auto textOrNull = [](const std::string& text) {
        return text.empty() ? Json(nullptr) : Json(text);
    };
    const auto numberOrNull = [](const std::optional<double>& value) {
        return value ? Json(*value) : Json(nullptr);
    };
    Json json;
    json["name"] = place->name;
    json["region"] = textOrNull(place->region);
    json["country"] = textOrNull(place->country);
    json["latitude"] = numberOrNull(place->latitude);
    json["longitude"] = numberOrNull(place->longitude);
    json["zone"] = textOrNull(place->zone);
    // To 100 m: the atlas's coordinates are no finer.
    json["distance_km"] =
        place->distanceKm ? Json(std::round(*place->distanceKm * 10) / 10) : Json(nullptr);
    return json;
}

int ListPlaces(const std::string& text, bool json, std::ostream& out, std::ostream& err) {
    BirthplaceLookup failure;
    const WorldAtlas* atlas = AtlasOrProblem(err, failure);
    if (atlas == nullptr) {
        err << failure.error->message << '\n';
        if (json)
            out << JsonText(FailureJson(JsonKind::Places, *failure.error));
        return ExitFailed;
    }
    const auto found = atlas->Search(text, kListedPlaces);
    if (found.empty()) {
        const CommandError nothing{ExitFailed, error_code::NotFound,
                                   "в атласе нет места, чье название начинается с " +
                                       QuotedValue(text)};
        err << nothing.message << '\n';
        if (json)
            out << JsonText(FailureJson(JsonKind::Places, nothing));
        return ExitFailed;
    }
    if (!json) {
        for (const AtlasPlace* place : found)
            out << PlaceLine(*place) << '\n';
        return ExitDone;
    }
    Json list = Json::array();
    for (const AtlasPlace* place : found) {
        Json entry = BirthplaceJson(OfAtlasPlace(*place));
        entry.erase("distance_km");
        // 0 is a population the atlas does not know (a zone's city that the
        // geonames list lacks).
        entry["population"] = place->population == 0 ? Json(nullptr) : Json(place->population);
        list.push_back(std::move(entry));
    }
    Json document = JsonDocument(JsonKind::Places);
    document["places"] = std::move(list);
    document["error"] = nullptr;
    out << JsonText(document);
    return ExitDone;
}

} // namespace toravel::command_line
