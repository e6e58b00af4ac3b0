// The atlas's two lookups. Prefix search runs over one sorted table of
// folded name keys, every name entered once whole and once from each later
// word on, so a search is two binary searches and a walk over the matches;
// nearness goes through the point index.
#include "place/world_atlas.h"

#include <algorithm>

#include "place/place_name_key.h"

namespace toravel {
namespace {

std::vector<GeographicPoint> PointsOf(const std::vector<AtlasPlace>& places) {
    std::vector<GeographicPoint> points;
    points.reserve(places.size());
    for (const AtlasPlace& place : places)
        points.push_back({place.latitude, place.longitude});
    return points;
}

// The population a place ranks by: the geonames list holds towns of at
// least 15,000 people, and a place of unknown size ranks as the smallest.
constexpr std::uint32_t kUnknownPopulationRank = 15'000;

std::uint32_t RankingPopulation(const AtlasPlace& place) {
    return place.population == 0 ? kUnknownPopulationRank : place.population;
}

// The region and the country as they add something to the name.
std::string_view ShownRegion(const AtlasPlace& place) {
    return place.region == place.name ? std::string_view() : std::string_view(place.region);
}
std::string_view ShownCountry(const AtlasPlace& place) {
    return place.country == place.name ? std::string_view() : std::string_view(place.country);
}

} // namespace

WorldAtlas::WorldAtlas(std::vector<AtlasPlace> places)
    : places_(std::move(places)), index_(PointsOf(places_)) {
    for (std::uint32_t p = 0; p < places_.size(); ++p) {
        const AtlasPlace& place = places_[p];
        std::vector<std::string> keys;
        const auto addKey = [&keys](const std::string& key) {
            if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end())
                keys.push_back(key);
        };
        std::vector<const std::string*> names = {&place.name, &place.otherName};
        for (const std::string& alias : place.aliases)
            names.push_back(&alias);
        for (const std::string* name : names) {
            const std::optional<std::string> key = PlaceNameKey(*name);
            if (!key)
                continue;
            addKey(*key);
            if (const auto other = PlaceNameOtherSpelling(*key))
                addKey(*other);
        }
        for (const std::string& key : keys)
            AddKey(key, p);
    }
    std::sort(keys_.begin(), keys_.end(),
              [this](const SearchKey& a, const SearchKey& b) { return KeyText(a) < KeyText(b); });
}

void WorldAtlas::AddKey(const std::string& key, std::uint32_t place) {
    longestKey_ = std::max(longestKey_, key.size());
    const auto offset = static_cast<std::uint32_t>(keyText_.size());
    const auto length = static_cast<std::uint32_t>(key.size());
    keyText_ += key;
    keys_.push_back({offset, length, place, true});
    for (std::uint32_t blank = 0; blank < length; ++blank)
        if (key[blank] == ' ')
            keys_.push_back({offset + blank + 1, length - blank - 1, place, false});
}

std::vector<const AtlasPlace*> WorldAtlas::Search(std::string_view text, std::size_t limit) const {
    const std::optional<std::string> query = PlaceNameKey(text);
    if (!query || query->empty() || query->size() > longestKey_ || limit == 0)
        return {};

    struct Match {
        std::uint32_t place;
        bool wholeName;
        bool principalNamed; // a principal place whose whole name is the text
    };
    std::vector<Match> matches;
    // Where a place already stands in `matches`, so that a place found by
    // several keys is counted once, by its best.
    std::vector<std::int32_t> position(places_.size(), -1);
    auto key = std::lower_bound(
        keys_.begin(), keys_.end(), std::string_view(*query),
        [this](const SearchKey& entry, std::string_view q) { return KeyText(entry) < q; });
    for (; key != keys_.end() && KeyText(*key).starts_with(*query); ++key) {
        const bool principalNamed =
            key->wholeName && key->length == query->size() && places_[key->place].principal;
        std::int32_t& at = position[key->place];
        if (at < 0) {
            at = static_cast<std::int32_t>(matches.size());
            matches.push_back({key->place, key->wholeName, principalNamed});
        } else {
            Match& match = matches[static_cast<std::size_t>(at)];
            match.wholeName |= key->wholeName;
            match.principalNamed |= principalNamed;
        }
    }

    const auto better = [this](const Match& a, const Match& b) {
        if (a.principalNamed != b.principalNamed)
            return a.principalNamed;
        if (a.wholeName != b.wholeName)
            return a.wholeName;
        const std::uint32_t pa = RankingPopulation(places_[a.place]);
        const std::uint32_t pb = RankingPopulation(places_[b.place]);
        if (pa != pb)
            return pa > pb;
        return a.place < b.place;
    };
    const std::size_t shown = std::min(limit, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + static_cast<long>(shown), matches.end(),
                      better);
    std::vector<const AtlasPlace*> result;
    result.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i)
        result.push_back(&places_[matches[i].place]);
    return result;
}

std::optional<NearbyPlace> WorldAtlas::NearestWithin(GeographicPoint at, double radiusKm) const {
    const auto nearest = index_.NearestWithin(at, radiusKm);
    if (!nearest)
        return std::nullopt;
    return NearbyPlace{&places_[nearest->index], nearest->distanceKm};
}

std::string PlaceLabel(const AtlasPlace& place) {
    std::string label = place.name;
    const std::string_view region = ShownRegion(place);
    const char* separator = " — ";
    if (!region.empty()) {
        label += separator;
        label += region;
        separator = ", ";
    }
    const std::string_view country = ShownCountry(place);
    if (!country.empty()) {
        label += separator;
        label += country;
    }
    return label;
}

std::string PlaceFullName(const AtlasPlace& place) {
    std::string text = place.name;
    const std::string_view region = ShownRegion(place);
    if (!region.empty())
        text += ", " + std::string(region);
    const std::string_view country = ShownCountry(place);
    if (!country.empty())
        text += ", " + std::string(country);
    return text;
}

} // namespace toravel
