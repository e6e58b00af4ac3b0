// The atlas's additions: damaged tables refused with the line at fault, the
// zones' principal locations joined to geonames places or added as places
// of their own, corrections checked by the place's English name; and the
// compiled-in tables against the system's geonames library.
#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "atlas/atlas_additions.h"
#include "atlas/geonames_atlas.h"

namespace {

using toravel::AtlasAdditions;
using toravel::AtlasPlace;

constexpr char kZones[] =
    "# zone\tcountry\tlatitude\tlongitude\tname\tregion\tEnglish name\tcountry name\tid\tname\n"
    "Atlantic/Madeira\tPT\t32.6333\t-16.9000\tМадейра\t\tMadeira\tПортугалия\t\t\n"
    "Asia/Anadyr\tRU\t64.7500\t177.4833\tАнадырь\t\tAnadyr\tРоссия\t\t\n"
    "America/Indiana/Marengo\tUS\t38.3756\t-86.3447\tМаренго\tИндиана\tMarengo\tСША\t\t\n"
    "America/Indiana/Vincennes\tUS\t38.6772\t-87.5286\tВинсеннес\t\tVincennes\tСША\t4266307\t\n"
    "Asia/Bahrain\tBH\t26.3833\t50.5833\tБахрейн\t\tBahrain\tБахрейн\t290340\t\n";
constexpr char kRegions[] = "# country\tEnglish\tRussian\nDE\tSaxony\tСаксония\n";
constexpr char kCorrections[] =
    "# place\tchange\tvalue\tsource\n"
    "Atlantic/Madeira\tplace\t2267827 Funchal\tcapital of Madeira\n"
    "Asia/Bahrain\tplace\t290341 Muharraq\ta place the list does not hold so\n"
    "Asia/Anadyr\talias\tАнадыр\ta test\n"
    "1265873 Kozhikode\tname\tКожикоде\tthe catalog's name is Kolkata's\n"
    "1265873 Kozhikode\talias\tКаликут\talso called Calicut\n";

AtlasPlace GeonamesPlace(const char* russian, const char* english, const char* zone,
                         std::uint32_t population) {
    return AtlasPlace(russian, "", "Страна", 0, 0, zone, population, english, {}, false);
}

// name|English name|region|country|zone|population|principal|aliases...
std::string Fields(const AtlasPlace& p) {
    std::string fields = p.name + "|" + p.otherName + "|" + p.region + "|" + p.country + "|" +
                         p.zone + "|" + std::to_string(p.population) + "|" +
                         (p.principal ? "principal" : "");
    for (const std::string& alias : p.aliases)
        fields += "|" + alias;
    return fields;
}

TEST(AtlasAdditions, JoinsZoneCitiesToGeonamesPlacesOrAddsThem) {
    std::string problem;
    const auto additions = AtlasAdditions::Parse(kZones, kRegions, kCorrections, problem);
    ASSERT_TRUE(additions) << problem;

    std::vector<AtlasPlace> places = {
        GeonamesPlace("Фуншал", "Funchal", "Atlantic/Madeira", 100847),
        GeonamesPlace("Vincennes", "", "America/Chicago", 18012),
        GeonamesPlace("Манама", "Manama", "Asia/Bahrain", 147074),
        GeonamesPlace("Калькутта", "Kozhikode", "Asia/Kolkata", 550440),
    };
    const std::unordered_map<std::string, std::size_t> byId = {
        {"2267827", 0}, {"4266307", 1}, {"290340", 2}, {"1265873", 3}};
    additions->CorrectGeonamesPlace("1265873", "Kozhikode", places[3]);
    std::vector<std::string> unapplied;
    additions->CheckGeonamesCorrections(places, byId, unapplied);
    additions->AddZonePlaces(places, byId, unapplied);

    const std::vector<std::string> expected = {
        // Joined: marked, found by the zone's name, on the zone's clock.
        "Фуншал|Funchal||Страна|Atlantic/Madeira|100847|principal|Мадейра",
        // Named as the zone names it (no alias then), on the zone younger
        // than the list's.
        "Винсеннес|Vincennes||Страна|America/Indiana/Vincennes|18012|principal",
        // A correction naming a place the list holds under another name is
        // left out (below), and the generator's place stands.
        "Манама|Manama||Страна|Asia/Bahrain|147074|principal|Бахрейн",
        // Renamed, and found by its English name and the other name.
        "Кожикоде|Kozhikode||Страна|Asia/Kolkata|550440||Каликут",
        // Added, of unknown population; Marengo with CLDR's whole name as an
        // alias and its state as the region.
        "Анадырь|Anadyr||Россия|Asia/Anadyr|0|principal|Анадыр",
        "Маренго|Marengo|Индиана|США|America/Indiana/Marengo|0|principal|Маренго, Индиана",
    };
    ASSERT_EQ(places.size(), expected.size());
    for (std::size_t i = 0; i < places.size(); ++i)
        EXPECT_EQ(Fields(places[i]), expected[i]) << "place " << i;
    EXPECT_NEAR(places[4].latitude, 64.75, 1e-9);
    EXPECT_NEAR(places[4].longitude, 177.4833, 1e-9);
    EXPECT_EQ(unapplied,
              std::vector<std::string>{"Asia/Bahrain: no geonames place 290341 Muharraq"});

    // Id 1265873 of another English name is another place: left as it is,
    // and the correction reported.
    AtlasPlace kolkata = GeonamesPlace("Калькутта", "Kolkata", "Asia/Kolkata", 1);
    additions->CorrectGeonamesPlace("1265873", "Kolkata", kolkata);
    EXPECT_EQ(Fields(kolkata), "Калькутта|Kolkata||Страна|Asia/Kolkata|1|");
    unapplied.clear();
    additions->CheckGeonamesCorrections({kolkata}, {{"1265873", 0}}, unapplied);
    EXPECT_EQ(unapplied, std::vector<std::string>{"no geonames place 1265873 Kozhikode"});

    EXPECT_EQ(additions->RegionName("DE", "Saxony").value_or(""), "Саксония");
    EXPECT_FALSE(additions->RegionName("AT", "Saxony"));
}

TEST(AtlasAdditions, DamagedTablesAreRefusedWithTheLine) {
    const std::string zone = "Asia/Anadyr\tRU\t64.75\t177.48\tАнадырь\t\tAnadyr\tРоссия\t\t\n";
    const struct {
        const char* what;
        std::string zones, regions, corrections;
        const char* problem;
    } rows[] = {
        {"a field missing", "# x\n" + zone.substr(0, zone.size() - 2) + "\n", "", "",
         "zone_places.tsv, line 2: 9 fields instead of 10"},
        {"latitude beyond the pole", "Asia/Anadyr\tRU\t94.75\t177.48\tА\t\tA\tР\t\t\n", "", "",
         "zone_places.tsv, line 1: no coordinates"},
        {"longitude not a number", "Asia/Anadyr\tRU\t64.75\t17x\tА\t\tA\tР\t\t\n", "", "",
         "zone_places.tsv, line 1: no coordinates"},
        {"no zone", "Anadyr\tRU\t64.75\t177.48\tА\t\tA\tР\t\t\n", "", "",
         "zone_places.tsv, line 1: no zone name"},
        {"no name at all", "Asia/Anadyr\tRU\t64.75\t177.48\t\t\t\tР\t\t\n", "", "",
         "zone_places.tsv, line 1: no name"},
        {"not UTF-8", "Asia/Anadyr\tRU\t64.75\t177.48\t\xC0\xAF\t\tA\tР\t\t\n", "", "",
         "zone_places.tsv, line 1: not UTF-8"},
        {"a region without its name", zone, "DE\tSaxony\t\n", "",
         "region_names.tsv, line 1: no region"},
        {"no source", zone, "", "Asia/Anadyr\tname\tАнадырь\t\n",
         "atlas_corrections.tsv, line 1: no value or no source"},
        {"an unknown change", zone, "", "Asia/Anadyr\trename\tАнадырь\tsource\n",
         "atlas_corrections.tsv, line 1: no such change: rename"},
        {"a geonames place given a place", zone, "", "290340 Manama\tplace\t1 X\tsource\n",
         "atlas_corrections.tsv, line 1: no such change: place"},
        {"a place without its English name", zone, "", "Asia/Bahrain\tplace\t290340\tsource\n",
         "atlas_corrections.tsv, line 1: the place is no \"<geonames id> <English name>\""},
        {"neither zone nor geonames place", zone, "", "Manama\tname\tМанама\tsource\n",
         "atlas_corrections.tsv, line 1: neither a zone nor \"<geonames id> <English name>\""},
        {"one id, two English names", zone, "",
         "290340 Manama\tname\tМанама\tsource\n290340 Muharraq\talias\tМ\tsource\n",
         "atlas_corrections.tsv, line 2: another English name for geonames place 290340"},
    };
    for (const auto& row : rows) {
        std::string problem;
        EXPECT_FALSE(AtlasAdditions::Parse(row.zones, row.regions, row.corrections, problem))
            << row.what;
        EXPECT_EQ(problem, row.problem) << row.what;
    }
}

// The tables compiled in hold together with Debian's geonames library: every
// correction names a place it holds under that English name.
TEST(AtlasAdditions, CompiledInTablesApplyToTheSystemsLibrary) {
    std::string problem;
    const AtlasAdditions& additions = AtlasAdditions::CompiledIn(problem);
    EXPECT_EQ(problem, "");
    EXPECT_GT(additions.zonePlaces().size(), 400u) << "zone.tab lists some 418 zones";
    const toravel::AtlasLoad& load = toravel::SharedWorldAtlas();
    ASSERT_TRUE(load.atlas) << load.problem;
    EXPECT_TRUE(load.unappliedAdditions.empty())
        << "first: " << (load.unappliedAdditions.empty() ? "" : load.unappliedAdditions.front());
}

} // namespace
