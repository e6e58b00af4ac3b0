// One place of the geonames library as it lies in the library's data: the
// serialised form of a GVariant of type "(sssssssudd)" (geonames id, English
// name, region code, English region name, country code, English country
// name, IANA zone, population, latitude, longitude).
//
// Read directly rather than through GLib's accessors, which take some 3 µs
// a place (some 75 ms for the whole atlas) against well under 0.1 µs here.
// The layout is GVariant's serialisation format (GLib's GVariant documentation,
// "Serialisation"): the members one after the other, each at its alignment
// (strings 1, the 32-bit number 4, the doubles 8) from the record's start,
// strings NUL-terminated; the ends of the seven strings stand as framing
// offsets at the record's end, the first string's last, little-endian, each
// as wide as the record's size needs (1 byte up to 255 bytes, 2 up to
// 65,535, then 4, then 8). Numbers are in the machine's byte order.
// Every offset is checked, so any bytes give a record or nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace toravel {

inline constexpr char kGeonamesPlaceType[] = "(sssssssudd)";

struct GeonamesPlaceRecord {
    std::string_view id;
    std::string_view name; // English
    std::string_view regionCode;
    std::string_view region; // English
    std::string_view countryCode;
    std::string_view country; // English
    std::string_view zone;
    std::uint32_t population = 0;
    double latitude = 0.0;
    double longitude = 0.0;
};

// The record in `bytes` (views into them); nothing when the bytes are no
// such record.
std::optional<GeonamesPlaceRecord> ParseGeonamesPlaceRecord(std::string_view bytes);

} // namespace toravel
