#include "place/zone_bundle.h"

#include <charconv>
#include <cstdint>

namespace toravel {
namespace {

constexpr std::uint64_t MaxZoneFileBytes = 1 << 20;

std::optional<std::string_view> Line(std::string_view bytes, std::size_t& pos) {
    const std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    return line;
}

} // namespace

std::optional<ZoneFiles> ReadZoneBundle(std::string_view bytes) {
    std::size_t pos = 0;
    if (Line(bytes, pos) != ZoneBundleMagic)
        return std::nullopt;
    ZoneFiles files;
    while (pos < bytes.size()) {
        const std::optional<std::string_view> name = Line(bytes, pos);
        const std::optional<std::string_view> length = name ? Line(bytes, pos) : std::nullopt;
        if (!length || name->empty())
            return std::nullopt;
        std::uint64_t size = 0;
        const auto [end, error] =
            std::from_chars(length->data(), length->data() + length->size(), size);
        if (error != std::errc{} || end != length->data() + length->size() || length->empty() ||
            size > MaxZoneFileBytes || size > bytes.size() - pos)
            return std::nullopt;
        files.emplace(std::string(*name), std::string(bytes.substr(pos, size)));
        pos += size;
    }
    return files;
}

} // namespace toravel
