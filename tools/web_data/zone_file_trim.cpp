#include "tools/web_data/zone_file_trim.h"

#include <cstdint>

namespace toravel {
namespace {

constexpr std::size_t HeaderBytes = 44;

std::uint64_t Count(std::string_view file, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
}

} // namespace

std::optional<std::string> ZoneFileWithoutV1Data(std::string_view file) {
    if (file.size() < HeaderBytes || file.substr(0, 4) != "TZif" || file[4] < '2')
        return std::nullopt;
    const std::uint64_t isUt = Count(file, 20), isStd = Count(file, 24), leap = Count(file, 28),
                        changes = Count(file, 32), types = Count(file, 36), chars = Count(file, 40);
    const std::uint64_t v1Bytes = changes * 5 + types * 6 + chars + leap * 8 + isStd + isUt;
    if (v1Bytes > file.size() - HeaderBytes)
        return std::nullopt;
    // The smallest well-formed 32-bit block: no changes, one kind of time
    // (UTC, abbreviation "") — a file must name at least one.
    std::string trimmed(file.substr(0, 20));
    trimmed.append(16, '\0');
    trimmed += std::string_view("\0\0\0\1\0\0\0\1", 8); // one type, one character
    trimmed += std::string_view("\0\0\0\0\0\0\0", 7);   // the type, then its ""
    trimmed += file.substr(HeaderBytes + v1Bytes);
    return trimmed;
}

} // namespace toravel
