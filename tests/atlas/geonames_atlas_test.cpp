// The atlas the system's geonames library gives: the places a user looks
// for, found with their Russian names under any locale; a missing or broken
// library or catalog; the message catalog and place record readers against
// GLib's and gettext's own data.
#include <glib.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "atlas/geonames_atlas.h"
#include "atlas/geonames_place_record.h"
#include "atlas/message_catalog.h"
#include "platform/conversions.h"

namespace {

using toravel::AtlasPlace;

const toravel::WorldAtlas& SystemAtlas() {
    const toravel::AtlasLoad& load = toravel::SharedWorldAtlas();
    if (!load.atlas)
        throw std::runtime_error(load.problem);
    return *load.atlas;
}

const AtlasPlace& FirstMatch(const std::string& text) {
    const auto found = SystemAtlas().Search(text, 1);
    if (found.empty())
        throw std::runtime_error("no match for " + text);
    return *found.front();
}

// A scratch directory of this process, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory()
        : path_(std::filesystem::temp_directory_path() /
                ("toravel-atlas-test-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

TEST(SystemAtlas, FindsThePlacesOfTheRussianSearch) {
    const struct {
        const char* text;
        const char* name;
        const char* region;
        const char* country;
        const char* zone;
    } rows[] = {
        {"Кинешма", "Кинешма", "Ивановская область", "Россия", "Europe/Moscow"},
        {"Урюпинск", "Урюпинск", "Волгоградская область", "Россия", "Europe/Volgograd"},
        {"москва", "Москва", "Москва", "Россия", "Europe/Moscow"},
        {"Москва", "Москва", "Москва", "Россия", "Europe/Moscow"},
        {"Берлин", "Берлин", "Берлин", "Германия", "Europe/Berlin"},
        {"Тель-Авив", "Тель-Авив", "Тель-Авивский округ", "Израиль", "Asia/Jerusalem"},
        {"Tel Aviv", "Тель-Авив", "Тель-Авивский округ", "Израиль", "Asia/Jerusalem"},
        {"орел", "Орёл", "Орловская область", "Россия", "Europe/Moscow"},
        // Regions the catalog leaves in English, or in Latin letters: CLDR's.
        {"Лейпциг", "Лейпциг", "Саксония", "Германия", "Europe/Berlin"},
        {"Актау", "Актау", "Мангистауская область", "Казахстан", "Asia/Aqtau"},
    };
    for (const auto& row : rows) {
        const AtlasPlace& place = FirstMatch(row.text);
        EXPECT_EQ(place.name, row.name) << row.text;
        EXPECT_EQ(place.region, row.region) << row.text;
        EXPECT_EQ(place.country, row.country) << row.text;
        EXPECT_EQ(place.zone, row.zone) << row.text;
    }
    // Kineshma lies at 57°26′ N 42°08′ E.
    EXPECT_NEAR(FirstMatch("Кинешма").latitude, 57.44, 0.01);
    EXPECT_NEAR(FirstMatch("Кинешма").longitude, 42.13, 0.01);
}

// The towns people name that the geonames list lacked, or that found
// another place first: zones' principal cities by the zone's Russian name
// for them, exact names before beginnings, English names as typed.
TEST(SystemAtlas, FindsTheTownsPeopleName) {
    const struct {
        const char* text;
        const char* name;
        const char* country;
        const char* zone;
        double latitude, longitude; // of the town, within 0.5°
    } rows[] = {
        {"Калькутта", "Колката", "Индия", "Asia/Kolkata", 22.57, 88.36},
        {"Окленд", "Окленд", "Новая Зеландия", "Pacific/Auckland", -36.85, 174.76},
        {"Джерси", "Сент-Хельер", "Джерси", "Europe/Jersey", 49.19, -2.10},
        {"Норфолк", "Норфолк", "о-в Норфолк", "Pacific/Norfolk", -29.05, 167.97},
        {"Мадейра", "Фуншал", "Португалия", "Atlantic/Madeira", 32.67, -16.93},
        {"Катар", "Доха", "Катар", "Asia/Qatar", 25.29, 51.53},
        {"Сингапур", "Сингапур", "Сингапур", "Asia/Singapore", 1.29, 103.85},
        {"Анадырь", "Анадырь", "Россия", "Asia/Anadyr", 64.73, 177.51},
        {"Усть-Нера", "Усть-Нера", "Россия", "Asia/Ust-Nera", 64.57, 143.20},
        {"Нуакшот", "Нуакшот", "Мавритания", "Africa/Nouakchott", 18.09, -15.98},
        {"Бахрейн", "Манама", "Бахрейн", "Asia/Bahrain", 26.23, 50.59},
        {"Кожикоде", "Кожикоде", "Индия", "Asia/Kolkata", 11.25, 75.78},
        {"Norilsk", "Норильск", "Россия", "Asia/Krasnoyarsk", 69.35, 88.20},
        {"Petropavlovsk-Kamchatsky", "Петропавловск-Камчатский", "Россия", "Asia/Kamchatka", 53.04,
         158.65},
        {"Cordoba", "Кордова", "Аргентина", "America/Argentina/Cordoba", -31.41, -64.18},
        // A zone younger than the list: Eastern time since 2007, not Chicago's.
        {"Винсеннес", "Винсеннес", "США", "America/Indiana/Vincennes", 38.68, -87.53},
    };
    for (const auto& row : rows) {
        const AtlasPlace& place = FirstMatch(row.text);
        EXPECT_EQ(place.name, row.name) << row.text;
        EXPECT_EQ(place.country, row.country) << row.text;
        EXPECT_EQ(place.zone, row.zone) << row.text;
        EXPECT_NEAR(place.latitude, row.latitude, 0.5) << row.text;
        EXPECT_NEAR(place.longitude, row.longitude, 0.5) << row.text;
    }
}

TEST(SystemAtlas, NearestPlaceToTypedCoordinates) {
    const auto novosibirsk = SystemAtlas().NearestWithin({55.03, 82.92}, 50);
    ASSERT_TRUE(novosibirsk);
    EXPECT_EQ(novosibirsk->place->name, "Новосибирск");
    EXPECT_EQ(novosibirsk->place->zone, "Asia/Novosibirsk");
    EXPECT_LT(novosibirsk->distanceKm, 5);
    EXPECT_FALSE(SystemAtlas().NearestWithin({0, -30}, 50)) << "the middle of the Atlantic";
    EXPECT_FALSE(SystemAtlas().NearestWithin({-90, 0}, 50)) << "the South Pole";
}

// The registrations of this test under LANG=C, de_DE.UTF-8 and ru_RU.UTF-8
// (tests/atlas/CMakeLists.txt) set TORAVEL_EXPECT_LOCALE to the locale
// the process must have taken from LANG.
TEST(SystemAtlas, RussianNamesWhateverTheLocaleAndTheLocaleLeftAsItWas) {
    if (const char* expected = std::getenv("TORAVEL_EXPECT_LOCALE")) {
        ASSERT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), expected)
            << "generate the locale with localedef (see .ci/install-packages)";
    }
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* language = std::getenv("LANGUAGE");
    const std::string languageBefore = language ? language : "(unset)";

    const toravel::AtlasLoad load = toravel::LoadGeonamesAtlas();
    ASSERT_TRUE(load.atlas) << load.problem;
    EXPECT_EQ(load.note, "");
    const auto found = load.atlas->Search("Кинешма", 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(toravel::PlaceLabel(*found.front()), "Кинешма — Ивановская область, Россия");
    EXPECT_EQ(load.atlas->Search("Моск", 1).front()->name, "Москва");

    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
    language = std::getenv("LANGUAGE");
    EXPECT_EQ(language ? language : "(unset)", languageBefore);
    EXPECT_EQ(toravel::StrToFloat("55,75"), 55.75);
    EXPECT_EQ(toravel::DateTimeToStr(toravel::StrToDateTime("17.05.1990 14:30")),
              "17.05.1990 14:30:00");
}

TEST(SystemAtlasLoad, MissingOrBrokenLibraryIsAClearProblem) {
    const ScratchDirectory scratch;
    const struct {
        std::string library;
        const char* problem;
    } rows[] = {
        {"libgeonames-missing.so.0", "не загружается библиотека libgeonames-missing.so.0"},
        {scratch.File("libgeonames.so.0", "not a shared object"), "не загружается библиотека"},
        {"libz.so.1", "в библиотеке libz.so.1 нет функции geonames_get_n_cities"},
    };
    for (const auto& row : rows) {
        const toravel::AtlasLoad load = toravel::LoadGeonamesAtlas({row.library, ""});
        EXPECT_FALSE(load.atlas) << row.library;
        EXPECT_EQ(load.problem.rfind("атлас мест недоступен: ", 0), 0u) << load.problem;
        EXPECT_NE(load.problem.find(row.problem), std::string::npos) << load.problem;
    }
}

TEST(SystemAtlasLoad, WithoutTheRussianCatalogPlacesKeepTheirEnglishNames) {
    const ScratchDirectory scratch;
    for (const std::string& catalog :
         {std::string("/nonexistent/geonames.mo"), scratch.File("broken.mo", "\xde\x12\x04\x95")}) {
        const toravel::AtlasLoad load = toravel::LoadGeonamesAtlas({"libgeonames.so.0", catalog});
        ASSERT_TRUE(load.atlas) << load.problem;
        EXPECT_NE(load.note.find("места названы по-английски"), std::string::npos) << load.note;
        EXPECT_NE(load.note.find(catalog), std::string::npos) << load.note;
        const auto found = load.atlas->Search("Kineshma", 1);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.front()->name, "Kineshma");
        EXPECT_EQ(found.front()->zone, "Europe/Moscow");
        EXPECT_TRUE(load.atlas->Search("Кинешма").empty());
    }
}

// A catalog in the GNU format, written the simple way: header, the two
// tables, then the strings; `bigEndian` writes every word the other way.
std::string CatalogBytes(const std::vector<std::pair<std::string, std::string>>& entries,
                         bool bigEndian) {
    std::vector<std::uint32_t> words = {0x950412de,
                                        0,
                                        static_cast<std::uint32_t>(entries.size()),
                                        28,
                                        static_cast<std::uint32_t>(28 + 8 * entries.size()),
                                        0,
                                        0};
    std::string strings;
    const std::size_t stringsAt = 28 + 16 * entries.size();
    std::vector<std::uint32_t> originals, translations;
    for (const auto& [original, translation] : entries) {
        originals.push_back(static_cast<std::uint32_t>(original.size()));
        originals.push_back(static_cast<std::uint32_t>(stringsAt + strings.size()));
        strings += original + '\0';
        translations.push_back(static_cast<std::uint32_t>(translation.size()));
        translations.push_back(static_cast<std::uint32_t>(stringsAt + strings.size()));
        strings += translation + '\0';
    }
    words.insert(words.end(), originals.begin(), originals.end());
    words.insert(words.end(), translations.begin(), translations.end());
    std::string bytes;
    for (const std::uint32_t word : words)
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>(word >> (bigEndian ? 24 - 8 * i : 8 * i));
    return bytes + strings;
}

TEST(MessageCatalog, TranslatesInEitherByteOrder) {
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"", "Content-Type: text/plain; charset=UTF-8\n"},
        {"524901", "Москва"},
        {"RU", "Россия"},
        {std::string("one\0many", 8), std::string("одна\0много", 19)},
        {"untranslated", ""},
    };
    for (const bool bigEndian : {false, true}) {
        std::string problem;
        const auto catalog =
            toravel::MessageCatalog::Parse(CatalogBytes(entries, bigEndian), problem);
        ASSERT_TRUE(catalog) << problem;
        EXPECT_EQ(catalog->Translate("524901"), "Москва");
        EXPECT_EQ(catalog->Translate("RU"), "Россия");
        EXPECT_EQ(catalog->Translate("one"), "одна") << "a plural entry gives its first form";
        EXPECT_FALSE(catalog->Translate("untranslated"));
        EXPECT_FALSE(catalog->Translate("")) << "the header is no translation";
        EXPECT_FALSE(catalog->Translate("52490"));
    }
}

TEST(MessageCatalog, DamagedFilesAreRefusedNeverReadPast) {
    const std::string whole = CatalogBytes({{"524901", "Москва"}, {"RU", "Россия"}}, false);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        std::string problem;
        EXPECT_FALSE(toravel::MessageCatalog::Parse(whole.substr(0, length), problem))
            << "cut at " << length;
        EXPECT_FALSE(problem.empty());
    }
    // Every byte of the header and the tables set to its largest value.
    for (std::size_t at = 8; at < 28 + 32; ++at) {
        std::string damaged = whole;
        damaged[at] = '\xFF';
        std::string problem;
        const auto catalog = toravel::MessageCatalog::Parse(damaged, problem);
        if (at >= 20 && at < 28)
            EXPECT_TRUE(catalog) << "the hash table's words are not used: " << at;
        else
            EXPECT_FALSE(catalog) << "byte " << at;
    }
}

TEST(MessageCatalog, ReadsTheSystemsRussianPlaceNames) {
    std::string problem;
    const auto catalog =
        toravel::MessageCatalog::Read("/usr/share/locale/ru/LC_MESSAGES/geonames.mo", problem);
    ASSERT_TRUE(catalog) << problem;
    EXPECT_EQ(catalog->Translate("524901"), "Москва") << "Moscow's geonames.org id";
    EXPECT_EQ(catalog->Translate("RU"), "Россия");
    EXPECT_GT(catalog->size(), 10000u);

    EXPECT_FALSE(toravel::MessageCatalog::Read("/nonexistent.mo", problem));
    EXPECT_EQ(problem, "нет файла /nonexistent.mo");
    EXPECT_FALSE(toravel::MessageCatalog::Read("/tmp", problem)) << "a directory";
}

// The record reader against GLib's own serialiser: records of every width
// of framing offsets, each cut short at every length.
TEST(GeonamesPlaceRecord, ReadsWhatGLibWrites) {
    const std::string names[] = {"", "Москва", std::string(300, 'x'), std::string(70000, 'y')};
    for (const std::string& name : names) {
        GVariant* value = g_variant_ref_sink(
            g_variant_new(toravel::kGeonamesPlaceType, "524901", name.c_str(), "48", "Moscow", "RU",
                          "Russia", "Europe/Moscow", 10381222u, 55.75222, 37.61556));
        const std::string bytes(static_cast<const char*>(g_variant_get_data(value)),
                                g_variant_get_size(value));
        g_variant_unref(value);

        const auto record = toravel::ParseGeonamesPlaceRecord(bytes);
        ASSERT_TRUE(record) << "name of " << name.size() << " bytes";
        EXPECT_EQ(record->id, "524901");
        EXPECT_EQ(record->name, name);
        EXPECT_EQ(record->regionCode, "48");
        EXPECT_EQ(record->region, "Moscow");
        EXPECT_EQ(record->countryCode, "RU");
        EXPECT_EQ(record->country, "Russia");
        EXPECT_EQ(record->zone, "Europe/Moscow");
        EXPECT_EQ(record->population, 10381222u);
        EXPECT_EQ(record->latitude, 55.75222);
        EXPECT_EQ(record->longitude, 37.61556);

        for (std::size_t length = 0; bytes.size() < 1000 && length < bytes.size(); ++length) {
            EXPECT_FALSE(toravel::ParseGeonamesPlaceRecord(bytes.substr(0, length)))
                << "cut at " << length;
        }
    }
}

TEST(GeonamesPlaceRecord, AnyBytesGiveARecordOrNothing) {
    std::string bytes(64, '\0');
    for (int seed = 0; seed < 20000; ++seed) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((seed * 2654435761u + i * 40503u) >> (i % 24));
        const std::string piece = bytes.substr(0, static_cast<std::size_t>(seed % 64));
        const auto record = toravel::ParseGeonamesPlaceRecord(piece);
        if (record) {
            EXPECT_LE(record->zone.size(), piece.size());
        }
    }
}

} // namespace
