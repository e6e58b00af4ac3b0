#include "tools/web_data/bundle_writers.h"

#include <charconv>
#include <map>

#include "place/atlas_bundle.h"

namespace toravel {
namespace {

// Numbers of a table in their order of first appearance.
class Table {
public:
    std::size_t IndexOf(const std::string& text) {
        const auto [at, added] = indexes_.emplace(text, texts_.size());
        if (added)
            texts_.push_back(text);
        return at->second;
    }
    void Write(std::string& out) const {
        out += std::to_string(texts_.size());
        out += '\n';
        for (const std::string& text : texts_) {
            out += text;
            out += '\n';
        }
    }

private:
    std::map<std::string, std::size_t> indexes_;
    std::vector<std::string> texts_;
};

std::string ShortestText(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc{} ? std::string(buffer, end) : std::string("nan");
}

// Names never hold tabs or line ends; should one, it becomes a blank.
std::string Field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

std::string WriteAtlasBundle(const std::vector<AtlasPlace>& places) {
    Table zones, countries, regions;
    std::string lines;
    for (const AtlasPlace& place : places) {
        lines += Field(place.name) + '\t' + Field(place.otherName) + '\t';
        lines += std::to_string(regions.IndexOf(Field(place.region))) + '\t';
        lines += std::to_string(countries.IndexOf(Field(place.country))) + '\t';
        lines += ShortestText(place.latitude) + '\t' + ShortestText(place.longitude) + '\t';
        lines += std::to_string(zones.IndexOf(Field(place.zone))) + '\t';
        lines += std::to_string(place.population) + '\t';
        lines += place.principal ? "1" : "0";
        for (const std::string& alias : place.aliases)
            if (!alias.empty())
                lines += '\t' + Field(alias);
        lines += '\n';
    }
    std::string out(AtlasBundleMagic);
    out += '\n';
    zones.Write(out);
    countries.Write(out);
    regions.Write(out);
    out += std::to_string(places.size()) + '\n';
    out += lines;
    return out;
}

std::string WriteZoneBundle(const ZoneFiles& files) {
    std::string out(ZoneBundleMagic);
    out += '\n';
    for (const auto& [name, bytes] : files) {
        out += name + '\n' + std::to_string(bytes.size()) + '\n';
        out += bytes;
    }
    return out;
}

} // namespace toravel
