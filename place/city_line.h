// One line of the city list taken apart: the birthplace fields it fills and
// the name it is known by.
//
// A line reads "name;latitude;longitude[;zone]", the coordinates written as
// degrees, the degree sign, the digits that become the decimal fraction and
// the minute sign: "Москва;55°7558';37°6173';Europe/Moscow" fills the fields
// with "55,7558" and "37,6173". Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace toravel {

// The texts that picking a city puts into the latitude and longitude fields.
struct CityCoordinateTexts {
    std::string latitude;
    std::string longitude;
};

// The fields of a line as the city list's picker fills them in:
//  - the line is split at ";" like the C library's strtok (leading separators
//    skipped, a run of separators counts as one); the second and third pieces
//    are the coordinates, a missing piece is empty;
//  - every "°" becomes ",";
//  - each text ends before its first "'" that follows a character other
//    than "'" (apostrophes at the very start stay);
//  - leading and trailing bytes with codes up to 32 are removed.
CityCoordinateTexts ApplyCityLine(std::string_view line);

// The name (first piece) and the optional fourth piece (an IANA time-zone
// name such as "Europe/Moscow"), split like ApplyCityLine and trimmed of
// bytes up to 32; either is empty when the line lacks it.
struct CityIdentity {
    std::string name;
    std::string zone;
};

CityIdentity CityIdentityOfLine(std::string_view line);

} // namespace toravel
