// The atlas searched the way a user names a town: every principal city of
// the tz database's zones (zone.tab, with its coordinates) by its Russian
// name as ICU's time-zone names give it (CLDR's exemplar cities). A city is
// found first when the first match lies within 50 km of its coordinates.
//
//   toravel-check-atlas ZONE_TAB [--at-least PERCENT]
//       prints every city not found first and the share found first; exits
//       1 when the share is below PERCENT.
//   toravel-check-atlas --dump
//       prints the atlas's places, one a line, tab-separated.
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "atlas/geonames_atlas.h"

namespace {

using namespace toravel;

constexpr double kFoundWithinKm = 50.0;

struct ZoneCity {
    std::string zone;
    GeographicPoint at;
};

// "+5545+03735" or "+554434+0373405": degrees, minutes, maybe seconds.
std::optional<double> Angle(const std::string& text, std::size_t degreeDigits) {
    const std::size_t digits = text.size() - 1;
    if ((digits != degreeDigits + 2 && digits != degreeDigits + 4) ||
        (text[0] != '+' && text[0] != '-'))
        return std::nullopt;
    double value = std::stod(text.substr(1, degreeDigits)) +
                   std::stod(text.substr(1 + degreeDigits, 2)) / 60.0;
    if (digits == degreeDigits + 4)
        value += std::stod(text.substr(3 + degreeDigits, 2)) / 3600.0;
    return text[0] == '-' ? -value : value;
}

std::optional<GeographicPoint> Coordinates(const std::string& text) {
    const std::size_t split = text.find_first_of("+-", 1);
    if (split == std::string::npos)
        return std::nullopt;
    const auto latitude = Angle(text.substr(0, split), 2);
    const auto longitude = Angle(text.substr(split), 3);
    if (!latitude || !longitude)
        return std::nullopt;
    return GeographicPoint{*latitude, *longitude};
}

std::vector<ZoneCity> ReadZoneTab(const char* path) {
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error(std::string("cannot read ") + path);
    std::vector<ZoneCity> cities;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string country, coordinates, zone;
        std::getline(fields, country, '\t');
        std::getline(fields, coordinates, '\t');
        std::getline(fields, zone, '\t');
        const auto at = Coordinates(coordinates);
        if (!at)
            throw std::runtime_error("bad coordinates in " + line);
        cities.push_back({zone, *at});
    }
    return cities;
}

// The Russian exemplar city of a zone, or nothing where ICU has only the
// name it makes from the zone's id.
class RussianZoneCities {
public:
    RussianZoneCities() {
        UErrorCode status = U_ZERO_ERROR;
        names_.reset(icu::TimeZoneNames::createInstance(icu::Locale("ru"), status));
        if (U_FAILURE(status))
            throw std::runtime_error("ICU has no Russian time-zone names");
    }

    std::optional<std::string> operator()(const std::string& zone) const {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString canonical;
        icu::TimeZone::getCanonicalID(icu::UnicodeString::fromUTF8(zone), canonical, status);
        if (U_FAILURE(status))
            return std::nullopt;
        icu::UnicodeString city;
        names_->getExemplarLocationName(canonical, city);
        std::string text;
        city.toUTF8String(text);
        // A made-up name is the id's last part in Latin letters.
        if (text.empty() || static_cast<unsigned char>(text[0]) < 0x80)
            return std::nullopt;
        return text;
    }

private:
    std::unique_ptr<icu::TimeZoneNames> names_;
};

const WorldAtlas& Atlas() {
    const AtlasLoad& load = SharedWorldAtlas();
    if (!load.atlas)
        throw std::runtime_error(load.problem);
    return *load.atlas;
}

int CheckZoneCities(const char* zoneTab, double atLeastPercent) {
    const WorldAtlas& atlas = Atlas();
    const RussianZoneCities russian;
    int searched = 0, foundFirst = 0, notFound = 0, elsewhere = 0, unnamed = 0;
    for (const ZoneCity& city : ReadZoneTab(zoneTab)) {
        const auto name = russian(city.zone);
        if (!name) {
            ++unnamed;
            std::printf("%s: no Russian name\n", city.zone.c_str());
            continue;
        }
        ++searched;
        const auto found = atlas.Search(*name, 1);
        if (found.empty()) {
            ++notFound;
            std::printf("%s «%s»: not found\n", city.zone.c_str(), name->c_str());
            continue;
        }
        const AtlasPlace& first = *found.front();
        const double km = GreatCircleKm(city.at, {first.latitude, first.longitude});
        if (km <= kFoundWithinKm) {
            ++foundFirst;
        } else {
            ++elsewhere;
            std::printf("%s «%s»: first %s, %.0f km away\n", city.zone.c_str(), name->c_str(),
                        PlaceFullName(first).c_str(), km);
        }
    }
    const double share = searched == 0 ? 0.0 : 100.0 * foundFirst / searched;
    std::printf("%d zone cities with a Russian name (%d without): %d found first within %.0f km "
                "(%.1f %%), %d not found, %d find another place first\n",
                searched, unnamed, foundFirst, kFoundWithinKm, share, notFound, elsewhere);
    return share >= atLeastPercent ? 0 : 1;
}

int Dump() {
    for (const AtlasPlace& place : Atlas().places()) {
        std::cout << place.name << '\t' << place.otherName << '\t' << place.region << '\t'
                  << place.country << '\t' << place.latitude << '\t' << place.longitude << '\t'
                  << place.zone << '\t' << place.population << '\n';
    }
    return std::cout ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string first = argc > 1 ? argv[1] : "";
        if (first == "--dump" && argc == 2)
            return Dump();
        if (argc == 2 && first.rfind("--", 0) != 0)
            return CheckZoneCities(argv[1], 0.0);
        if (argc == 4 && std::string(argv[2]) == "--at-least")
            return CheckZoneCities(argv[1], std::atof(argv[3]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: toravel-check-atlas ZONE_TAB [--at-least PERCENT] | --dump\n");
    return 2;
}
