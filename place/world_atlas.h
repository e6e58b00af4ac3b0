// The world atlas: the places of the world a birthplace can be picked from,
// with their coordinates and IANA time zones, searched by the beginning of
// a name and by nearness to a point.
//
// How the front ends use it:
//  - SharedWorldAtlas() (atlas/geonames_atlas.h) loads the atlas the
//    first time it is called and gives the same one afterwards; when it has
//    no atlas, its `problem` says why in Russian, and the window hides its
//    search field while the command line names the problem;
//  - as the user types, Search(text) gives the matches for the completion
//    popup, each shown with PlaceLabel(place);
//  - a picked place's coordinates go into the latitude and longitude fields
//    as CoordinateFieldText (place/birthplace_hint_place.h), which also
//    decides, from the fields' texts, which place gives the zone hint.
//
// Names are UTF-8; the atlas is read-only once built, so one atlas may be
// searched from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "place/sphere_point_index.h"

namespace toravel {

struct AtlasPlace {
    std::string name;             // "Кинешма"
    std::string region;           // "Ивановская область"; may be empty
    std::string country;          // "Россия"
    double latitude = 0.0;        // degrees, north positive
    double longitude = 0.0;       // degrees, east positive
    std::string zone;             // IANA time zone, "Europe/Moscow"
    std::uint32_t population = 0; // 0: not known
    // A second name the place is also found by (the English one, "Kineshma");
    // empty when it is the same as `name`.
    std::string otherName;
    // Further names it is found by: the time zone's name for its city
    // ("Калькутта" for Колката, "Мадейра" for Фуншал), another spelling.
    std::vector<std::string> aliases;
    // A time zone's principal city or a capital: a search for its whole name
    // puts it first.
    bool principal = false;
};

struct NearbyPlace {
    const AtlasPlace* place = nullptr;
    double distanceKm = 0.0;
};

class WorldAtlas {
public:
    explicit WorldAtlas(std::vector<AtlasPlace> places);

    WorldAtlas(const WorldAtlas&) = delete;
    WorldAtlas& operator=(const WorldAtlas&) = delete;

    // Places whose name, or a word of it, begins with `text`, compared as
    // PlaceNameKey folds them (any case, ё as е, hyphens as blanks, no
    // apostrophes); English names, aliases and their other spellings
    // (PlaceNameOtherSpelling) count too. A principal place whose whole name
    // is the text comes first ("Окленд": Auckland before Oakland), then the
    // places whose whole name begins with the text, then those where only a
    // later word does; within each, the most populous first, a place of
    // unknown population ranking as a town of 15,000. At most `limit`
    // places. Nothing for blank text, text that is not UTF-8, or text longer
    // than any name.
    std::vector<const AtlasPlace*> Search(std::string_view text, std::size_t limit = 20) const;

    // The nearest place within `radiusKm` of the point; nothing when there
    // is none or the point is not on the Earth.
    std::optional<NearbyPlace> NearestWithin(GeographicPoint at, double radiusKm) const;

    const std::vector<AtlasPlace>& places() const { return places_; }

private:
    // A folded name, or its tail from a later word on, as a piece of
    // keyText_: a name's tails share its text.
    struct SearchKey {
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t place;
        bool wholeName; // the key is the whole name, not a later word's tail
    };
    std::string_view KeyText(const SearchKey& key) const {
        return std::string_view(keyText_).substr(key.offset, key.length);
    }
    // Enters a folded name whole and from each later word on.
    void AddKey(const std::string& key, std::uint32_t place);

    std::vector<AtlasPlace> places_;
    std::string keyText_;         // the folded names, one after the other
    std::vector<SearchKey> keys_; // sorted by their text
    std::size_t longestKey_ = 0;
    SpherePointIndex index_;
};

// "Кинешма — Ивановская область, Россия": the completion popup's line. The
// region is left out where it is empty or the place's own name (Москва),
// the country where it is the place's own name (Сингапур).
std::string PlaceLabel(const AtlasPlace& place);

// "Кинешма, Ивановская область, Россия": the place as the command line and
// the printed report name it.
std::string PlaceFullName(const AtlasPlace& place);

} // namespace toravel
