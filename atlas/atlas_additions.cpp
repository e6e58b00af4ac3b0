// The tables read line by line, tab-separated, '#' beginning a comment line;
// every field checked, so a damaged table is refused as a whole.
#include "atlas/atlas_additions.h"

#include <charconv>
#include <cmath>
#include <functional>

#include "atlas/atlas_tables.h"
#include "place/place_name_key.h"
#include "platform/utf8_text.h"

namespace toravel {
namespace {

// The fields of each line that is no comment, with the line's number; a
// line of another field count, or not UTF-8, is a problem.
bool ForEachLine(
    std::string_view table, std::string_view tableName, std::size_t fieldCount,
    std::string& problem,
    const std::function<bool(const std::vector<std::string_view>&, std::string&)>& takeLine) {
    std::size_t number = 0;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        const std::string_view line = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab - from));
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        std::string fault;
        if (!IsValidUtf8(line))
            fault = "not UTF-8";
        else if (fields.size() != fieldCount)
            fault =
                std::to_string(fields.size()) + " fields instead of " + std::to_string(fieldCount);
        else
            takeLine(fields, fault);
        if (!fault.empty()) {
            problem = std::string(tableName) + ", line " + std::to_string(number) + ": " + fault;
            return false;
        }
    }
    return true;
}

std::optional<double> Degrees(std::string_view text, double limit) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

// "3576022 St John's": a geonames id of digits, a blank, the English name.
std::optional<GeonamesReference> ParseGeonamesReference(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == 0 || blank == std::string_view::npos || blank + 1 == text.size())
        return std::nullopt;
    for (const char c : text.substr(0, blank))
        if (c < '0' || c > '9')
            return std::nullopt;
    return GeonamesReference{std::string(text.substr(0, blank)),
                             std::string(text.substr(blank + 1))};
}

// The name the geonames list gives a place: its other name where it has a
// Russian one.
const std::string& EnglishName(const AtlasPlace& place) {
    return place.otherName.empty() ? place.name : place.otherName;
}

bool SameKey(std::string_view a, std::string_view b) {
    return PlaceNameKey(a) == PlaceNameKey(b);
}

// Adds a name the place is found by, unless one of its names is that already.
void AddAlias(AtlasPlace& place, const std::string& alias) {
    if (alias.empty() || SameKey(alias, place.name) || SameKey(alias, place.otherName))
        return;
    for (const std::string& known : place.aliases)
        if (SameKey(alias, known))
            return;
    place.aliases.push_back(alias);
}

} // namespace

std::optional<AtlasAdditions> AtlasAdditions::Parse(std::string_view zonePlaces,
                                                    std::string_view regionNames,
                                                    std::string_view corrections,
                                                    std::string& problem) {
    AtlasAdditions additions;
    const bool zonesRead = ForEachLine(
        zonePlaces, "zone_places.tsv", 10, problem,
        [&](const std::vector<std::string_view>& f, std::string& fault) {
            const auto latitude = Degrees(f[2], 90.0);
            const auto longitude = Degrees(f[3], 180.0);
            if (f[0].find('/') == std::string_view::npos)
                fault = "no zone name";
            else if (f[1].size() != 2)
                fault = "no country code";
            else if (!latitude || !longitude)
                fault = "no coordinates";
            else if (f[4].empty() && f[6].empty())
                fault = "no name";
            else
                additions.zonePlaces_.push_back(
                    {std::string(f[0]), std::string(f[1]), *latitude, *longitude, std::string(f[4]),
                     std::string(f[5]), std::string(f[6]), std::string(f[7]), std::string(f[8])});
            return true;
        });
    const bool regionsRead =
        zonesRead &&
        ForEachLine(regionNames, "region_names.tsv", 3, problem,
                    [&](const std::vector<std::string_view>& f, std::string& fault) {
                        if (f[0].size() != 2 || f[1].empty() || f[2].empty())
                            fault = "no region";
                        else
                            additions.regionNames_.emplace(
                                std::string(f[0]) + '\t' + std::string(f[1]), std::string(f[2]));
                        return true;
                    });
    const bool correctionsRead =
        regionsRead &&
        ForEachLine(corrections, "atlas_corrections.tsv", 4, problem,
                    [&](const std::vector<std::string_view>& f, std::string& fault) {
                        const bool zone = f[0].find('/') != std::string_view::npos;
                        const auto geonames = zone ? std::nullopt : ParseGeonamesReference(f[0]);
                        if (!zone && !geonames) {
                            fault = "neither a zone nor \"<geonames id> <English name>\"";
                            return true;
                        }
                        if (f[2].empty() || f[3].empty()) {
                            fault = "no value or no source";
                            return true;
                        }
                        PlaceCorrection& correction =
                            zone ? additions.zoneCorrections_[std::string(f[0])]
                                 : additions.geonamesCorrections_[geonames->id];
                        if (geonames) {
                            if (!correction.englishName.empty() &&
                                correction.englishName != geonames->englishName) {
                                fault = "another English name for geonames place " + geonames->id;
                                return true;
                            }
                            correction.englishName = geonames->englishName;
                        }
                        if (f[1] == "name") {
                            correction.name = f[2];
                        } else if (f[1] == "alias") {
                            correction.aliases.emplace_back(f[2]);
                        } else if (f[1] == "place" && zone) {
                            correction.place = ParseGeonamesReference(f[2]);
                            if (!correction.place)
                                fault = "the place is no \"<geonames id> <English name>\"";
                        } else {
                            fault = "no such change: " + std::string(f[1]);
                        }
                        return true;
                    });
    if (!correctionsRead)
        return std::nullopt;
    return additions;
}

const AtlasAdditions& AtlasAdditions::CompiledIn(std::string& problem) {
    static std::string tableProblem;
    static const AtlasAdditions additions = [] {
        auto parsed =
            Parse(kZonePlacesTable, kRegionNamesTable, kAtlasCorrectionsTable, tableProblem);
        // A damaged table is a fault of the build, which the atlas tests
        // report; the atlas is then the library's alone.
        return parsed ? std::move(*parsed) : AtlasAdditions();
    }();
    problem = tableProblem;
    return additions;
}

std::optional<std::string_view> AtlasAdditions::RegionName(std::string_view countryCode,
                                                           std::string_view englishRegion) const {
    const auto found =
        regionNames_.find(std::string(countryCode) + '\t' + std::string(englishRegion));
    if (found == regionNames_.end())
        return std::nullopt;
    return found->second;
}

void AtlasAdditions::CorrectGeonamesPlace(std::string_view id, std::string_view englishName,
                                          AtlasPlace& place) const {
    const auto found = geonamesCorrections_.find(std::string(id));
    if (found == geonamesCorrections_.end() || found->second.englishName != englishName)
        return;
    const PlaceCorrection& correction = found->second;
    if (!correction.name.empty()) {
        if (place.otherName.empty() && place.name != correction.name)
            place.otherName = place.name; // the English name, still found
        place.name = correction.name;
    }
    for (const std::string& alias : correction.aliases)
        AddAlias(place, alias);
}

void AtlasAdditions::AddZonePlaces(std::vector<AtlasPlace>& places,
                                   const std::unordered_map<std::string, std::size_t>& byGeonamesId,
                                   std::vector<std::string>& unapplied) const {
    for (const ZonePlace& zonePlace : zonePlaces_) {
        const auto corrected = zoneCorrections_.find(zonePlace.zone);
        const PlaceCorrection* correction =
            corrected == zoneCorrections_.end() ? nullptr : &corrected->second;
        std::string name = zonePlace.name;
        if (correction != nullptr && !correction->name.empty())
            name = correction->name;

        // The geonames place it is: the correction's, checked by its English
        // name, or the generator's.
        std::optional<std::size_t> index;
        if (correction != nullptr && correction->place) {
            const auto found = byGeonamesId.find(correction->place->id);
            if (found != byGeonamesId.end() &&
                EnglishName(places[found->second]) == correction->place->englishName)
                index = found->second;
            else
                unapplied.push_back(zonePlace.zone + ": no geonames place " +
                                    correction->place->id + " " + correction->place->englishName);
        }
        if (!index && !zonePlace.geonamesId.empty()) {
            const auto found = byGeonamesId.find(zonePlace.geonamesId);
            if (found != byGeonamesId.end())
                index = found->second;
            else
                unapplied.push_back(zonePlace.zone + ": no geonames place " + zonePlace.geonamesId);
        }

        // CLDR's whole name, "Монтиселло, Кентукки", finds it too.
        const std::string cldrName =
            zonePlace.region.empty() ? name : name + ", " + zonePlace.region;
        if (index) {
            AtlasPlace& place = places[*index];
            place.principal = true;
            // The principal location of a zone keeps its clock, also where the
            // geonames list is older than the zone (Vincennes, Indiana).
            place.zone = zonePlace.zone;
            // A place the catalog left in English is shown with the zone's
            // Russian name for it.
            if (place.otherName.empty() && !name.empty() && name != place.name) {
                place.otherName = place.name;
                place.name = name;
            }
            AddAlias(place, name);
            AddAlias(place, cldrName);
            if (correction != nullptr)
                for (const std::string& alias : correction->aliases)
                    AddAlias(place, alias);
            continue;
        }
        AtlasPlace place;
        place.name = name.empty() ? zonePlace.englishName : name;
        place.region = zonePlace.region;
        place.country = zonePlace.country;
        place.latitude = zonePlace.latitude;
        place.longitude = zonePlace.longitude;
        place.zone = zonePlace.zone;
        place.principal = true;
        if (place.name != zonePlace.englishName)
            place.otherName = zonePlace.englishName;
        AddAlias(place, cldrName);
        if (correction != nullptr)
            for (const std::string& alias : correction->aliases)
                AddAlias(place, alias);
        places.push_back(std::move(place));
    }
}

void AtlasAdditions::CheckGeonamesCorrections(
    const std::vector<AtlasPlace>& places,
    const std::unordered_map<std::string, std::size_t>& byGeonamesId,
    std::vector<std::string>& unapplied) const {
    for (const auto& [id, correction] : geonamesCorrections_) {
        const auto found = byGeonamesId.find(id);
        if (found == byGeonamesId.end() ||
            EnglishName(places[found->second]) != correction.englishName)
            unapplied.push_back("no geonames place " + id + " " + correction.englishName);
    }
}

} // namespace toravel
