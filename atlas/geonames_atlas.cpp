// Loading of the geonames library at run time (dlopen), its places read one
// by one, their names put into Russian from the catalog.
//
// The library's public header declares a place (GeonamesCity) as a GVariant;
// its type is checked for every place, and its serialised bytes are taken
// apart by atlas/geonames_place_record.h. The catalog translates the
// geonames id to the place's name, "<country code>.<region code>" to the
// region's and the country code to the country's: the keys the library's
// own getters hand to gettext.
#include "atlas/geonames_atlas.h"

#include <dlfcn.h>
#include <geonames/geonames.h>
#include <libintl.h>

#include <cstring>
#include <optional>
#include <unordered_map>

#include "atlas/atlas_additions.h"
#include "atlas/geonames_place_record.h"
#include "atlas/message_catalog.h"

namespace toravel {
namespace {

constexpr char kUnavailable[] = "атлас мест недоступен: ";
// The library holds some 24,000 places; far more is no atlas of its kind.
constexpr int kMostPlaces = 10'000'000;

// The library's functions, and GLib's, which it brings in.
struct GeonamesFunctions {
    decltype(&geonames_get_n_cities) placeCount = nullptr;
    decltype(&geonames_get_city) place = nullptr;
    decltype(&geonames_city_free) freePlace = nullptr;
    decltype(&g_variant_get_type_string) typeString = nullptr;
    decltype(&g_variant_get_data) data = nullptr;
    decltype(&g_variant_get_size) size = nullptr;
};

// The function `name` of the loaded library or of the libraries it brought
// in; the first one missing is named in `missing`.
template <typename Function>
void Bind(void* handle, const char* name, Function& function, std::string& missing) {
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    if (function == nullptr && missing.empty())
        missing = name;
}

// The library loaded and its functions found; nothing, with the reason in
// `problem`, otherwise. The library stays loaded for the rest of the
// process: GLib's type system does not survive being unloaded.
std::optional<GeonamesFunctions> LoadLibrary(const std::string& file, std::string& problem) {
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        problem = "не загружается библиотека " + file + " (" + (reason ? reason : "") +
                  "); её даёт пакет libgeonames0";
        return std::nullopt;
    }
    GeonamesFunctions f;
    std::string missing;
    Bind(handle, "geonames_get_n_cities", f.placeCount, missing);
    Bind(handle, "geonames_get_city", f.place, missing);
    Bind(handle, "geonames_city_free", f.freePlace, missing);
    Bind(handle, "g_variant_get_type_string", f.typeString, missing);
    Bind(handle, "g_variant_get_data", f.data, missing);
    Bind(handle, "g_variant_get_size", f.size, missing);
    if (!missing.empty()) {
        problem = "в библиотеке " + file + " нет функции " + missing;
        return std::nullopt;
    }
    return f;
}

std::string CatalogPath(const GeonamesSource& source) {
    if (!source.russianCatalog.empty())
        return source.russianCatalog;
    // Asks for the binding without making one: the directory gettext would
    // read the library's names from.
    const char* directory = ::bindtextdomain("geonames", nullptr);
    return std::string(directory ? directory : "/usr/share/locale") + "/ru/LC_MESSAGES/geonames.mo";
}

std::optional<std::string> Translated(const std::optional<MessageCatalog>& catalog,
                                      std::string_view key) {
    if (catalog)
        if (const auto russian = catalog->Translate(key))
            return std::string(*russian);
    return std::nullopt;
}

// Whether the text holds a letter of the Cyrillic block (U+0400 … U+04FF),
// whose UTF-8 forms begin with the bytes D0 … D3.
bool HasCyrillicLetter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xD0 && byte <= 0xD3)
            return true;
    }
    return false;
}

} // namespace

AtlasLoad LoadGeonamesAtlas(const GeonamesSource& source) {
    AtlasLoad load;
    const auto library = LoadLibrary(source.library, load.problem);
    if (!library) {
        load.problem = kUnavailable + load.problem;
        return load;
    }
    const GeonamesFunctions& f = *library;

    std::string catalogProblem;
    const std::optional<MessageCatalog> catalog =
        MessageCatalog::Read(CatalogPath(source), catalogProblem);
    if (!catalog)
        load.note = "русских названий мест нет (" + catalogProblem +
                    "; его даёт пакет libgeonames-common): места названы по-английски";

    const int count = f.placeCount();
    if (count <= 0 || count > kMostPlaces) {
        load.problem = kUnavailable + std::string("библиотека ") + source.library + " сообщает о " +
                       std::to_string(count) + " местах";
        return load;
    }
    std::string tablesProblem;
    const AtlasAdditions& additions = AtlasAdditions::CompiledIn(tablesProblem);
    if (!tablesProblem.empty())
        load.unappliedAdditions.push_back(tablesProblem);
    std::vector<AtlasPlace> places;
    places.reserve(static_cast<std::size_t>(count) + additions.zonePlaces().size());
    std::unordered_map<std::string, std::size_t> byGeonamesId;
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = f.place(i);
        std::optional<GeonamesPlaceRecord> record;
        if (city != nullptr && std::strcmp(f.typeString(city), kGeonamesPlaceType) == 0) {
            const void* data = f.data(city);
            if (data != nullptr)
                record = ParseGeonamesPlaceRecord(
                    std::string_view(static_cast<const char*>(data), f.size(city)));
        }
        if (!record) {
            if (city != nullptr)
                f.freePlace(city);
            load.problem = kUnavailable + std::string("место ") + std::to_string(i + 1) +
                           " библиотеки " + source.library + " в неизвестном виде";
            return load;
        }
        AtlasPlace place;
        place.name = Translated(catalog, record->id).value_or(std::string(record->name));
        // A region the catalog leaves in English, or gives in Latin letters
        // ("Mangistauskaya Oblast’"), gets CLDR's Russian name where there is
        // one.
        const std::string regionKey =
            std::string(record->countryCode) + "." + std::string(record->regionCode);
        place.region = Translated(catalog, regionKey).value_or(std::string(record->region));
        if (catalog && !HasCyrillicLetter(place.region))
            if (const auto cldr = additions.RegionName(record->countryCode, record->region))
                place.region = *cldr;
        place.country =
            Translated(catalog, record->countryCode).value_or(std::string(record->country));
        place.latitude = record->latitude;
        place.longitude = record->longitude;
        place.zone = record->zone;
        place.population = record->population;
        if (place.name != record->name)
            place.otherName = record->name;
        if (catalog)
            additions.CorrectGeonamesPlace(record->id, record->name, place);
        byGeonamesId.emplace(record->id, places.size());
        places.push_back(std::move(place));
        f.freePlace(city);
    }
    // Without the Russian catalog the places keep their English names, and
    // so do the zones' cities.
    if (catalog) {
        additions.CheckGeonamesCorrections(places, byGeonamesId, load.unappliedAdditions);
        additions.AddZonePlaces(places, byGeonamesId, load.unappliedAdditions);
    }
    load.atlas = std::make_unique<const WorldAtlas>(std::move(places));
    return load;
}

const AtlasLoad& SharedWorldAtlas() {
    static const AtlasLoad load = LoadGeonamesAtlas();
    return load;
}

void UseGeonamesAtlas() {
    SetAtlasProvider([] {
        const AtlasLoad& load = SharedWorldAtlas();
        return AtlasAvailability{load.atlas.get(), load.problem, load.note};
    });
}

} // namespace toravel
