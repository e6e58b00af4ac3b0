// The place behind the zone hint, followed through what a user does: picks a
// city, types other coordinates, types something that is no number; and the
// texts the window shows for it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "place/birthplace_hint_place.h"
#include "platform/tdatetime.h"

namespace {

using toravel::AtlasPlace;
using toravel::HintPlaceSource;
using toravel::PickedPlace;

AtlasPlace InRussia(const char* name, const char* region, double latitude, double longitude,
                    const char* zone, std::uint32_t population, const char* otherName) {
    return {name, region, "Россия", latitude, longitude, zone, population, otherName, {}, false};
}

const toravel::WorldAtlas& SiberianAtlas() {
    static const toravel::WorldAtlas atlas(std::vector<AtlasPlace>{
        InRussia("Новосибирск", "Новосибирская область", 55.0415, 82.9346, "Asia/Novosibirsk",
                 1419007, "Novosibirsk"),
        InRussia("Бердск", "Новосибирская область", 54.7551, 83.0967, "Asia/Novosibirsk", 97296,
                 "Berdsk"),
        InRussia("Москва", "Москва", 55.75222, 37.61556, "Europe/Moscow", 10381222, "Moscow"),
    });
    return atlas;
}

// Counts how often the atlas was asked for.
struct CountingAtlas {
    int calls = 0;
    toravel::AtlasAccess Access() {
        return [this] {
            ++calls;
            return &SiberianAtlas();
        };
    }
};

const std::string kRiga = "Рига;56°9460';24°1059';Europe/Riga";
const std::string kNovosibirsk = "Новосибирск;55°0280';82°9242';Asia/Novosibirsk";

TEST(ChooseHintPlace, FollowsTheCoordinatesInTheFields) {
    const auto riga = toravel::PickedPlaceOfCityLine(kRiga);
    const auto novosibirsk = toravel::PickedPlaceOfCityLine(kNovosibirsk);
    ASSERT_TRUE(riga && novosibirsk);
    const std::optional<PickedPlace> none;
    const std::optional<PickedPlace> unzoned = PickedPlace{"Рига", riga->point, ""};
    const struct {
        const char* name;
        const char* latitude;
        const char* longitude;
        const std::optional<PickedPlace>& picked;
        HintPlaceSource source;
        const char* zone;
        bool atlasAsked; // the atlas is loaded only for a point no pick explains
    } rows[] = {
        {"the picked city's own fields", "56,946", "24,1059", riga, HintPlaceSource::PickedPlace,
         "Europe/Riga", false},
        {"retyped to two decimals", "56,95", "24,11", riga, HintPlaceSource::PickedPlace,
         "Europe/Riga", false},
        {"with a dot", "56.946", "24.1059", riga, HintPlaceSource::PickedPlace, "Europe/Riga",
         false},
        {"Riga picked, Novosibirsk typed", "55,03", "82,92", riga,
         HintPlaceSource::NearestAtlasPlace, "Asia/Novosibirsk", true},
        {"nothing picked", "55,03", "82,92", none, HintPlaceSource::NearestAtlasPlace,
         "Asia/Novosibirsk", true},
        {"the list's Novosibirsk", "55,028", "82,9242", novosibirsk, HintPlaceSource::PickedPlace,
         "Asia/Novosibirsk", false},
        {"a city without a zone", "56,946", "24,1059", unzoned, HintPlaceSource::None, "", true},
        {"the Atlantic", "0", "-30", riga, HintPlaceSource::OpenSea, "", true},
        {"no number", "север", "82,92", riga, HintPlaceSource::None, "", false},
        {"empty", "", "", riga, HintPlaceSource::None, "", false},
        {"off the Earth", "95", "82,92", none, HintPlaceSource::None, "", false},
        {"degrees and minutes", "55°45'", "37°37'", none, HintPlaceSource::None, "", false},
    };
    for (const auto& row : rows) {
        CountingAtlas atlas;
        const toravel::HintPlace place =
            toravel::ChooseHintPlace(row.latitude, row.longitude, row.picked, atlas.Access());
        EXPECT_EQ(place.source, row.source) << row.name;
        EXPECT_EQ(place.zone, row.zone) << row.name;
        EXPECT_EQ(atlas.calls, row.atlasAsked ? 1 : 0) << row.name;
    }
    EXPECT_EQ(toravel::ChooseHintPlace("55,03", "82,92", riga, {}).source, HintPlaceSource::None)
        << "without an atlas only a picked place gives a hint";
}

TEST(MakeHintForPlace, NamesTheNearestPlaceAndItsDistance) {
    toravel::TDateTime birth = 0;
    ASSERT_TRUE(toravel::TryEncodeDateTime(2020, 6, 15, 12, 0, 0, 0, birth));
    const int moscowComputer = 3 * 3600;
    CountingAtlas atlas;
    // 14 km due south of Berdsk, farther from Novosibirsk.
    const double south = 54.7551 - 14.0 / (2 * std::numbers::pi * 6371.0 / 360);
    const auto berdsk =
        toravel::FieldsZoneHint(toravel::CoordinateFieldText(south), "83,0967", std::nullopt,
                                atlas.Access(), birth, moscowComputer);
    EXPECT_EQ(berdsk.text,
              "ближайшее место атласа — Бердск, 14 км: UTC+7:00; для расчёта укажите 4");
    EXPECT_EQ(berdsk.spinValue, 4);
    EXPECT_TRUE(berdsk.canApply);

    const auto moscow = toravel::FieldsZoneHint("55,7522", "37,6156", std::nullopt, atlas.Access(),
                                                birth, moscowComputer);
    EXPECT_EQ(moscow.text, "ближайшее место атласа — Москва, менее 1 км: UTC+3:00; для расчёта "
                           "укажите 0");

    const auto picked =
        toravel::FieldsZoneHint("56,946", "24,1059", toravel::PickedPlaceOfCityLine(kRiga),
                                atlas.Access(), birth, moscowComputer);
    EXPECT_EQ(picked.text, "в месте рождения UTC+3:00 (летнее время); для расчёта укажите 0");

    EXPECT_EQ(toravel::FieldsZoneHint("0", "-30", std::nullopt, {}, birth, moscowComputer).text, "")
        << "without an atlas nothing says that no place is near";
}

// Nautical zones are 15° wide around multiples of 15°; the date line
// separates UTC+12 from UTC-12.
TEST(MakeNauticalZoneHint, WholeHoursOfTheLongitude) {
    const int moscowComputer = 3 * 3600;
    const struct {
        double longitude;
        int offsetHours;
        const char* text;
        bool canApply;
    } rows[] = {
        {0.0, 0, "в открытом море — поясное время по долготе: UTC+0; для расчёта укажите -3", true},
        {7.4, 0, "UTC+0;", true},
        {7.6, 1, "UTC+1;", true},
        {30.0, 2, "поясное время по долготе: UTC+2; для расчёта укажите -1", true},
        {-67.6, -5, "UTC-5; для расчёта укажите -8", true},
        {-179.9, -12, "UTC-12; для расчёта нужно -15, а поле принимает от -12 до 12", false},
        {179.9, 12, "UTC+12; для расчёта укажите 9", true},
    };
    for (const auto& row : rows) {
        const auto hint = toravel::MakeNauticalZoneHint(row.longitude, moscowComputer);
        EXPECT_NE(hint.text.find(row.text), std::string::npos)
            << row.longitude << ": " << hint.text;
        EXPECT_EQ(hint.spinValue, row.offsetHours - 3) << row.longitude;
        EXPECT_EQ(hint.canApply, row.canApply) << row.longitude;
    }
}

TEST(ZoneMismatchWarning, StandsUntilTheSpinBoxAgrees) {
    toravel::BirthplaceZoneHint hint;
    EXPECT_FALSE(toravel::ZoneMismatchWarning(3, hint)) << "no hint, nothing to compare";
    hint.spinValue = 1;
    hint.offset = toravel::BirthplaceOffset{}; // from a zone of the database
    EXPECT_EQ(toravel::ZoneMismatchWarning(3, hint), "указано 3, а по базе часовых поясов нужно 1");
    EXPECT_EQ(toravel::ZoneMismatchWarning(-2, hint),
              "указано -2, а по базе часовых поясов нужно 1");
    EXPECT_FALSE(toravel::ZoneMismatchWarning(1, hint));
    hint.spinValue = 14; // beyond the spin box: still says what is needed
    EXPECT_EQ(toravel::ZoneMismatchWarning(12, hint),
              "указано 12, а по базе часовых поясов нужно 14");
    EXPECT_EQ(toravel::ZoneMismatchWarning(0, toravel::MakeNauticalZoneHint(-30, 3 * 3600)),
              "указано 0, а по поясному времени нужно -5");
}

TEST(CoordinateFieldText, WritesDegreesAsATypedValue) {
    const struct {
        double degrees;
        const char* text;
    } rows[] = {
        {57.43914, "57,4391"},
        {42.12894, "42,1289"},
        {82.92, "82,92"},
        {-30, "-30"},
        {0, "0"},
        {-0.00004, "0"},
        {-117.00017, "-117,0002"},
        {179.99999, "180"},
        {-90, "-90"},
        {0.5, "0,5"},
        {NAN, ""},
        {INFINITY, ""},
        {1e300, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(toravel::CoordinateFieldText(row.degrees), row.text) << row.degrees;

    // What the fields get back is the place, to the field's four decimals.
    for (double degrees = -180; degrees <= 180; degrees += 0.7654321) {
        const auto point = toravel::FieldCoordinates(toravel::CoordinateFieldText(degrees / 2),
                                                     toravel::CoordinateFieldText(degrees));
        ASSERT_TRUE(point) << degrees;
        EXPECT_NEAR(point->latitude, degrees / 2, 0.00005);
        EXPECT_NEAR(point->longitude, degrees, 0.00005);
    }
}

} // namespace
