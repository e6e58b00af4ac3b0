#include "place/atlas_bundle.h"

#include <charconv>
#include <cstdint>

#include "platform/conversions.h"

namespace toravel {
namespace {

// Some 25,000 places; the bound only keeps a damaged count from reserving
// gigabytes.
constexpr std::size_t MaxCount = 10'000'000;

class BundleReader {
public:
    explicit BundleReader(std::string_view text) : text_(text) {}

    std::optional<std::string_view> Line() {
        if (pos_ >= text_.size())
            return std::nullopt;
        const std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return line;
    }
    bool AtEnd() const { return pos_ == text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::optional<std::uint64_t> Count(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::string>> ReadTable(BundleReader& in) {
    const std::optional<std::string_view> countLine = in.Line();
    const std::optional<std::uint64_t> count = countLine ? Count(*countLine) : std::nullopt;
    if (!count || *count > MaxCount)
        return std::nullopt;
    std::vector<std::string> texts;
    texts.reserve(*count);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::optional<std::string_view> line = in.Line();
        if (!line)
            return std::nullopt;
        texts.emplace_back(*line);
    }
    return texts;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::optional<double> Coordinate(std::string_view text, double limit) {
    try {
        const double value = StrToFloat(text);
        if (value >= -limit && value <= limit)
            return value;
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<AtlasPlace>> ReadAtlasBundle(std::string_view text) {
    BundleReader in(text);
    if (in.Line() != AtlasBundleMagic)
        return std::nullopt;
    const auto zones = ReadTable(in);
    const auto countries = zones ? ReadTable(in) : std::nullopt;
    const auto regions = countries ? ReadTable(in) : std::nullopt;
    const std::optional<std::string_view> countLine = regions ? in.Line() : std::nullopt;
    const std::optional<std::uint64_t> count = countLine ? Count(*countLine) : std::nullopt;
    if (!count || *count > MaxCount)
        return std::nullopt;

    std::vector<AtlasPlace> places;
    places.reserve(*count);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::optional<std::string_view> line = in.Line();
        if (!line)
            return std::nullopt;
        const std::vector<std::string_view> f = Fields(*line);
        if (f.size() < 9 || (f[8] != "0" && f[8] != "1"))
            return std::nullopt;
        const auto region = Count(f[2]);
        const auto country = Count(f[3]);
        const auto latitude = Coordinate(f[4], 90.0);
        const auto longitude = Coordinate(f[5], 180.0);
        const auto zone = Count(f[6]);
        const auto population = Count(f[7]);
        if (!region || *region >= regions->size() || !country || *country >= countries->size() ||
            !latitude || !longitude || !zone || *zone >= zones->size() || !population ||
            *population > UINT32_MAX)
            return std::nullopt;
        AtlasPlace place;
        place.name = std::string(f[0]);
        place.otherName = std::string(f[1]);
        place.region = (*regions)[*region];
        place.country = (*countries)[*country];
        place.latitude = *latitude;
        place.longitude = *longitude;
        place.zone = (*zones)[*zone];
        place.population = static_cast<std::uint32_t>(*population);
        place.principal = f[8] == "1";
        for (std::size_t alias = 9; alias < f.size(); ++alias) {
            if (f[alias].empty())
                return std::nullopt;
            place.aliases.emplace_back(f[alias]);
        }
        places.push_back(std::move(place));
    }
    if (!in.AtEnd())
        return std::nullopt;
    return places;
}

} // namespace toravel
