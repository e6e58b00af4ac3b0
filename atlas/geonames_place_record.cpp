// The serialised place record taken apart, every offset checked.
#include "atlas/geonames_place_record.h"

#include <array>
#include <cstring>

namespace toravel {
namespace {

constexpr std::size_t kStringCount = 7;

std::size_t OffsetWidth(std::size_t recordSize) {
    if (recordSize <= 0xFF)
        return 1;
    if (recordSize <= 0xFFFF)
        return 2;
    if (recordSize <= 0xFFFFFFFF)
        return 4;
    return 8;
}

std::size_t ReadLittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::size_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

std::size_t AlignedUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

template <typename Number> Number ReadNumber(std::string_view bytes, std::size_t at) {
    Number value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

} // namespace

std::optional<GeonamesPlaceRecord> ParseGeonamesPlaceRecord(std::string_view bytes) {
    const std::size_t width = OffsetWidth(bytes.size());
    if (bytes.size() < kStringCount * width)
        return std::nullopt;
    // The members end where the framing offsets begin.
    const std::size_t membersEnd = bytes.size() - kStringCount * width;

    std::array<std::string_view, kStringCount> strings;
    std::size_t start = 0;
    for (std::size_t i = 0; i < kStringCount; ++i) {
        const std::size_t end = ReadLittleEndian(bytes, bytes.size() - (i + 1) * width, width);
        // A string holds at least its NUL, which ends it.
        if (end <= start || end > membersEnd || bytes[end - 1] != '\0')
            return std::nullopt;
        strings[i] = bytes.substr(start, end - 1 - start);
        if (strings[i].find('\0') != std::string_view::npos)
            return std::nullopt;
        start = end;
    }
    const std::size_t populationAt = AlignedUp(start, 4);
    const std::size_t latitudeAt = AlignedUp(populationAt + 4, 8);
    const std::size_t longitudeAt = latitudeAt + 8;
    if (longitudeAt + 8 > membersEnd)
        return std::nullopt;

    GeonamesPlaceRecord record;
    record.id = strings[0];
    record.name = strings[1];
    record.regionCode = strings[2];
    record.region = strings[3];
    record.countryCode = strings[4];
    record.country = strings[5];
    record.zone = strings[6];
    record.population = ReadNumber<std::uint32_t>(bytes, populationAt);
    record.latitude = ReadNumber<double>(bytes, latitudeAt);
    record.longitude = ReadNumber<double>(bytes, longitudeAt);
    return record;
}

} // namespace toravel
