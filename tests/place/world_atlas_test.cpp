// The atlas's lookups over a small atlas of real places (coordinates and
// populations as geonames.org gives them): the folding of names, the order of
// the matches, bad search texts, and the nearest place against a plain scan.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "place/place_name_key.h"
#include "place/sphere_point_index.h"
#include "place/world_atlas.h"

namespace {

using toravel::AtlasPlace;
using toravel::GeographicPoint;
using toravel::WorldAtlas;

// A place as geonames gives it; principal: a zone's city or a capital, also
// found by the zone's name for it.
struct PlaceRow {
    const char *name, *region, *country;
    double latitude, longitude;
    const char* zone;
    std::uint32_t population;
    const char* english;
    bool principal = false;
    const char* alias = nullptr;
};

std::vector<AtlasPlace> SmallAtlas() {
    const PlaceRow rows[] = {
        {"Москва", "Москва", "Россия", 55.75222, 37.61556, "Europe/Moscow", 10381222, "Moscow",
         true},
        {"Москва", "Айдахо", "США", 46.73239, -117.00017, "America/Los_Angeles", 25060, "Moscow"},
        {"Московский", "Москва", "Россия", 55.59911, 37.35495, "Europe/Moscow", 15435,
         "Moskovskiy"},
        {"Нижний Новгород", "Нижегородская область", "Россия", 56.32867, 44.00205, "Europe/Moscow",
         1284164, "Nizhniy Novgorod"},
        {"Великий Новгород", "Новгородская Область", "Россия", 58.52131, 31.27104, "Europe/Moscow",
         215062, "Velikiy Novgorod"},
        {"Орёл", "Орловская область", "Россия", 52.96508, 36.07849, "Europe/Moscow", 324200,
         "Oryol"},
        {"Ростов-на-Дону", "Ростовская область", "Россия", 47.23135, 39.72328, "Europe/Moscow",
         1074482, "Rostov-on-Don"},
        {"Нью-Йорк", "Нью-Йорк", "США", 40.71427, -74.00597, "America/New_York", 8804190,
         "New York", true},
        {"Йорк", "Англия", "Британия", 53.95763, -1.08271, "Europe/London", 153717, "York"},
        {"Цюрих", "Canton of Zurich", "Швейцария", 47.36667, 8.55, "Europe/Zurich", 341730,
         "Zürich", true},
        {"Норильск", "Красноярский край", "Россия", 69.3535, 88.2027, "Asia/Krasnoyarsk", 140800,
         "Noril'sk"},
        // A zone's city found by the zone's name for it, and ones that
        // geonames does not list (population unknown).
        {"Окленд", "Калифорния", "США", 37.80437, -122.2708, "America/Los_Angeles", 433031,
         "Oakland"},
        {"Окленд", "", "Новая Зеландия", -36.84853, 174.76349, "Pacific/Auckland", 417910,
         "Auckland", true},
        {"Фуншал", "Мадейра", "Португалия", 32.66568, -16.92547, "Atlantic/Madeira", 100847,
         "Funchal", true, "Мадейра"},
        {"Сан-Жуан-да-Мадейра", "Авейру", "Португалия", 40.90070, -8.49020, "Europe/Lisbon", 21538,
         "São João da Madeira"},
        {"Анадырь", "", "Россия", 64.75, 177.4833, "Asia/Anadyr", 0, "Anadyr", true},
        {"Анапа", "Краснодарский край", "Россия", 44.89499, 37.31658, "Europe/Moscow", 58983,
         "Anapa"},
        {"Анадия", "Авейру", "Португалия", 40.4383, -8.4326, "Europe/Lisbon", 3000, "Anadia"},
        {"Сингапур", "", "Сингапур", 1.2833, 103.85, "Asia/Singapore", 0, "Singapore", true},
    };
    std::vector<AtlasPlace> places;
    for (const PlaceRow& r : rows)
        places.push_back(AtlasPlace(
            r.name, r.region, r.country, r.latitude, r.longitude, r.zone, r.population, r.english,
            r.alias ? std::vector<std::string>{r.alias} : std::vector<std::string>{}, r.principal));
    return places;
}

std::vector<std::string> Names(const std::vector<const AtlasPlace*>& places) {
    std::vector<std::string> names;
    for (const AtlasPlace* place : places)
        names.push_back(place->name + "/" + place->country);
    return names;
}

TEST(PlaceNameKey, FoldsWhatUsersTypeDifferently) {
    const struct {
        const char* text;
        const char* key;
    } rows[] = {
        {"Москва", "москва"},
        {"МОСКВА", "москва"},
        {"Орёл", "орел"},
        {"ОРЁЛ", "орел"},
        {"Ростов-на-Дону", "ростов на дону"},
        {"  Ростов  на – Дону ", "ростов на дону"},
        {"Zürich", "zurich"},
        {"ŁÓDŹ", "lodz"},
        {"Київ", "київ"},
        {"ЇЖАК Ґ", "їжак ґ"},
        {"Αθήνα", "αθήνα"},
        {"St. John's", "st johns"},
        {"Noril'sk", "norilsk"},
        {"Noril’sk", "norilsk"},
        {"Дюмон-д’Юрвиль", "дюмон дюрвиль"},
        {"北京", "北京"},
        {"", ""},
        {" \t-.,", ""},
    };
    for (const auto& row : rows) {
        const auto key = toravel::PlaceNameKey(row.text);
        ASSERT_TRUE(key) << row.text;
        EXPECT_EQ(*key, row.key) << row.text;
    }
}

TEST(PlaceNameKey, RefusesTextThatIsNotUtf8) {
    for (const char* bytes :
         {"\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xD0",
          "\xE2\x82", "\xCC\xEE\xF1\xEA\xE2\xE0" /* cp1251 */}) {
        EXPECT_FALSE(toravel::PlaceNameKey(bytes)) << "bytes of length " << std::strlen(bytes);
    }
}

TEST(WorldAtlas, SearchFindsNamesByAnyCaseAndSpelling) {
    const WorldAtlas atlas(SmallAtlas());
    const struct {
        const char* text;
        std::vector<std::string> expected;
    } rows[] = {
        {"москва", {"Москва/Россия", "Москва/США"}},
        {"Москва", {"Москва/Россия", "Москва/США"}},
        {"МОСК", {"Москва/Россия", "Москва/США", "Московский/Россия"}},
        {"Moscow", {"Москва/Россия", "Москва/США"}},
        {"орел", {"Орёл/Россия"}},
        {"Ростов на", {"Ростов-на-Дону/Россия"}},
        {"zurich", {"Цюрих/Швейцария"}},
        // A later word of the name counts, after the names that begin so.
        {"новгород", {"Нижний Новгород/Россия", "Великий Новгород/Россия"}},
        {"Йорк", {"Йорк/Британия", "Нью-Йорк/США"}},
        {"  нижний   новгород ", {"Нижний Новгород/Россия"}},
        {"Нижний Новгород, Россия", {}},
        {"Атлантида", {}},
        // English names as people type them: without the apostrophe of the
        // transliterated soft sign, with "-y" for "-iy", any prefix.
        {"Norilsk", {"Норильск/Россия"}},
        {"Noril’sk", {"Норильск/Россия"}},
        {"Nizhny Novgorod", {"Нижний Новгород/Россия"}},
        {"Nizhniy Novgorod", {"Нижний Новгород/Россия"}},
        {"Nizhni", {"Нижний Новгород/Россия"}},
        {"Veliky", {"Великий Новгород/Россия"}},
        // A principal place named whole comes first: Auckland, the zone's
        // city, before the more populous Oakland; a beginning ranks by
        // population, a place of unknown population as a town of 15,000.
        {"Окленд", {"Окленд/Новая Зеландия", "Окленд/США"}},
        {"Auckland", {"Окленд/Новая Зеландия"}},
        {"Оклен", {"Окленд/США", "Окленд/Новая Зеландия"}},
        {"Ана", {"Анапа/Россия", "Анадырь/Россия", "Анадия/Португалия"}},
        // The zone's name for its city, before a name that holds the word.
        {"Мадейра", {"Фуншал/Португалия", "Сан-Жуан-да-Мадейра/Португалия"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Names(atlas.Search(row.text)), row.expected) << row.text;
}

TEST(PlaceNameOtherSpelling, WritesWordEndingsInIyAsY) {
    const struct {
        const char* key;
        const char* other; // "" for none
    } rows[] = {
        {"petropavlovsk kamchatskiy", "petropavlovsk kamchatsky"},
        {"nizhniy novgorod", "nizhny novgorod"},
        {"krasnyy yar", "krasny yar"},
        {"kiyev", ""},  // not at a word's end
        {"iy", ""},     // no letter before it
        {"нижний", ""}, // Cyrillic stays as it is
        {"", ""},
    };
    for (const auto& row : rows) {
        const auto other = toravel::PlaceNameOtherSpelling(row.key);
        EXPECT_EQ(other.value_or(""), row.other) << row.key;
    }
}

TEST(WorldAtlas, SearchHonoursItsLimit) {
    const WorldAtlas atlas(SmallAtlas());
    EXPECT_EQ(Names(atlas.Search("м", 1)), std::vector<std::string>{"Москва/Россия"});
    EXPECT_TRUE(atlas.Search("м", 0).empty());
}

TEST(WorldAtlas, BadSearchTextsFindNothing) {
    const WorldAtlas atlas(SmallAtlas());
    const std::string texts[] = {
        "",
        "   ",
        "\t\r\n",
        "\xD0\x9C\xD0", // "М" and half a letter
        "\xCC\xEE\xF1", // "Мос" in Windows-1251
        std::string(10000, 'x'),
        std::string(5000, ' ') + "Москва", // found: only blanks before it
        std::string("\0\0", 2),
    };
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const auto found = atlas.Search(texts[i]);
        if (i == 6)
            EXPECT_EQ(found.size(), 2u) << "row " << i;
        else
            EXPECT_TRUE(found.empty()) << "row " << i;
    }
}

TEST(WorldAtlas, LabelsNameRegionAndCountry) {
    const WorldAtlas atlas(SmallAtlas());
    const AtlasPlace& orel = *atlas.Search("Орёл").front();
    EXPECT_EQ(toravel::PlaceLabel(orel), "Орёл — Орловская область, Россия");
    EXPECT_EQ(toravel::PlaceFullName(orel), "Орёл, Орловская область, Россия");
    const AtlasPlace& moscow = *atlas.Search("Москва").front();
    EXPECT_EQ(toravel::PlaceLabel(moscow), "Москва — Россия") << "the region is the city itself";
    EXPECT_EQ(toravel::PlaceFullName(moscow), "Москва, Россия");
    const AtlasPlace& anadyr = *atlas.Search("Анадырь").front();
    EXPECT_EQ(toravel::PlaceLabel(anadyr), "Анадырь — Россия") << "no region";
    const AtlasPlace& singapore = *atlas.Search("Сингапур").front();
    EXPECT_EQ(toravel::PlaceLabel(singapore), "Сингапур") << "the country is the city itself";
    EXPECT_EQ(toravel::PlaceFullName(singapore), "Сингапур");
}

TEST(GreatCircleKm, AgreesWithTheSpheresGeometry) {
    const double degree = 2 * std::numbers::pi * toravel::kMeanEarthRadiusKm / 360;
    EXPECT_NEAR(toravel::GreatCircleKm({0, 0}, {0, 1}), degree, 1e-9);
    EXPECT_NEAR(toravel::GreatCircleKm({89.5, 0}, {89.5, 180}), degree, 1e-9);
    EXPECT_NEAR(toravel::GreatCircleKm({0, 179.5}, {0, -179.5}), degree, 1e-9);
    // Near the antipode the haversine form loses digits: a metre is left.
    EXPECT_NEAR(toravel::GreatCircleKm({10, 20}, {-10, -160}), degree * 180, 1e-3);
    EXPECT_NEAR(toravel::GreatCircleKm({55.75, 37.62}, {55.75, 37.62 + 1e-7}), 0.0, 1e-5);
}

// The index against a plain scan of every point, over random points with
// crowds at a pole and at the 180th meridian.
TEST(SpherePointIndex, FindsWhatAScanFinds) {
    std::mt19937 random(20261209);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180), polar(88, 90),
        meridian(179, 180), sign(-1, 1);
    std::vector<GeographicPoint> points;
    for (int i = 0; i < 3000; ++i)
        points.push_back({latitude(random), longitude(random)});
    for (int i = 0; i < 300; ++i) {
        points.push_back({polar(random), longitude(random)});
        points.push_back({latitude(random) / 10, std::copysign(meridian(random), sign(random))});
    }
    points.push_back({NAN, 0}); // left out
    points.push_back({95, 0});  // left out
    const toravel::SpherePointIndex index(points);

    for (int query = 0; query < 2000; ++query) {
        GeographicPoint at{latitude(random), longitude(random)};
        if (query % 3 == 1)
            at = {polar(random), longitude(random)};
        if (query % 3 == 2)
            at = {latitude(random) / 10, std::copysign(meridian(random), sign(random))};
        for (const double radius : {50.0, 500.0}) {
            std::optional<std::size_t> scanned;
            double best = radius;
            for (std::size_t i = 0; i + 2 < points.size(); ++i) {
                const double d = toravel::GreatCircleKm(at, points[i]);
                if (d <= best && (!scanned || d < best)) {
                    best = d;
                    scanned = i;
                }
            }
            const auto found = index.NearestWithin(at, radius);
            ASSERT_EQ(found.has_value(), scanned.has_value())
                << at.latitude << ", " << at.longitude << " within " << radius;
            if (found) {
                EXPECT_NEAR(found->distanceKm, best, 1e-6) << at.latitude << ", " << at.longitude;
                EXPECT_EQ(found->index, *scanned) << at.latitude << ", " << at.longitude;
            }
        }
    }
}

TEST(SpherePointIndex, PointsOffTheEarthFindNothing) {
    const toravel::SpherePointIndex index({{55.75, 37.62}});
    for (const GeographicPoint at :
         std::vector<GeographicPoint>{{NAN, 37.62}, {55.75, INFINITY}, {90.001, 0}, {0, -180.001}})
        EXPECT_FALSE(index.NearestWithin(at, 20000)) << at.latitude << ", " << at.longitude;
    EXPECT_FALSE(index.NearestWithin({55.75, 37.62}, -1));
    EXPECT_FALSE(index.NearestWithin({55.75, 37.62}, NAN));
    EXPECT_TRUE(index.NearestWithin({-55.75, -142.38}, 20016)) << "the antipode, half way round";
    EXPECT_FALSE(toravel::SpherePointIndex({}).NearestWithin({0, 0}, 20016));
}

} // namespace
