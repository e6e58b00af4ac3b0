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

std::string Translated(const std::optional<MessageCatalog>& catalog, std::string_view key,
                       std::string_view english) {
    if (catalog)
        if (const auto russian = catalog->Translate(key))
            return std::string(*russian);
    return std::string(english);
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
    std::vector<AtlasPlace> places;
    places.reserve(static_cast<std::size_t>(count));
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
        place.name = Translated(catalog, record->id, record->name);
        place.region = Translated(
            catalog, std::string(record->countryCode) + "." + std::string(record->regionCode),
            record->region);
        place.country = Translated(catalog, record->countryCode, record->country);
        place.latitude = record->latitude;
        place.longitude = record->longitude;
        place.zone = record->zone;
        place.population = record->population;
        if (place.name != record->name)
            place.otherName = record->name;
        places.push_back(std::move(place));
        f.freePlace(city);
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
