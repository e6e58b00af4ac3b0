// The birthplace of a command line: from the city list (--city), from the
// world atlas (--place), or typed (--lat, --lon); for the birthplace's own
// clock (--auto-zone, or no clock option) also the time zone, which for
// typed coordinates is that of the nearest atlas place within 50 km. And
// --places, the atlas's matches listed.
//
// The atlas is loaded only where it is needed, so a calculation of a city
// of the list or with a clock option does not load the geonames library.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "command_line/command_error.h"
#include "command_line/command_options.h"
#include "command_line/json_document.h"
#include "place/world_atlas.h"

namespace toravel::command_line {

// The birthplace as the JSON output names it.
struct Birthplace {
    std::string name;
    std::string region;  // empty for a city of the list
    std::string country; // the same
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::string zone;                 // empty when unknown
    std::optional<double> distanceKm; // set for the nearest atlas place
};

struct ResolvedBirthplace {
    std::string latitude; // the latitude field's text
    std::string longitude;
    std::optional<Birthplace> place; // none for typed coordinates without --auto-zone
    // For --auto-zone: the zone, how errors name its owner ("населенного
    // пункта «Москва»") and the hint's opening words.
    std::string zone;
    std::string zoneOwner;
    std::string hintWording = "в месте рождения";
};

struct BirthplaceLookup {
    std::optional<ResolvedBirthplace> resolved;
    // When nothing was resolved: a usage error, or a failure (the atlas is
    // missing).
    std::optional<CommandError> error;
};

// Resolves the options' birthplace, naming an atlas place on `err` («место:
// …»). With `wantZone` (--auto-zone, or no clock named) typed coordinates
// take the zone of the nearest atlas place within 50 km. Throws what reading
// the city list throws.
BirthplaceLookup LookUpBirthplace(const CommandOptions& options, bool wantZone, std::ostream& err);

// "Кинешма, Ивановская область, Россия (57,4391; 42,1289), Europe/Moscow".
std::string PlaceLine(const AtlasPlace& place);

// "Кинешма, Ивановская область, Россия"; the city's name alone for a city
// of the list.
std::string BirthplaceName(const Birthplace& place);

Json BirthplaceJson(const std::optional<Birthplace>& place);

// --places: the matches (at most 20) as lines, or with `json` one JSON
// object, on `out`. Returns the exit status: done, or failed when nothing
// matches or there is no atlas (the message on `err`).
int ListPlaces(const std::string& text, bool json, std::ostream& out, std::ostream& err);

} // namespace toravel::command_line
