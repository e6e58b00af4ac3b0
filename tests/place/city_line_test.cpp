// The city-list line parse: what picking a city puts into the two fields.
#include "place/city_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toravel {
namespace {

struct LineCase {
    const char* name;
    std::string line;
    std::string latitude;
    std::string longitude;
};

TEST(ApplyCityLine, FillsTheFieldsAsThePickerDoes) {
    const std::vector<LineCase> cases = {
        {"degrees and minutes", "Москва;55°45';37°37'", "55,45", "37,37"},
        {"decimal digits after the degree sign", "Москва;55°7558';37°6173';Europe/Moscow",
         "55,7558", "37,6173"},
        {"blanks around the fields", " Москва ; 55°45' ;\t37°37' ", "55,45", "37,37"},
        {"two separators count as one", "Москва;;55°45';37°37'", "55,45", "37,37"},
        {"leading separator: first coordinate is the name", ";55°45';37°37'", "37,37", ""},
        {"no separator empties both", "Москва 55°45' 37°37'", "", ""},
        {"empty line empties both", "", "", ""},
        {"only separators", ";;;", "", ""},
        {"no minute sign", "Город;55°45;37°37", "55,45", "37,37"},
        {"no degree sign", "Город;55;37", "55", "37"},
        {"longitude missing", "Город;55°45'", "55,45", ""},
        {"further fields ignored", "Город;1°2';3°4';Europe/Moscow;extra", "1,2", "3,4"},
        {"text after the minute sign is cut", "Город;55°45'30\";37°37'10\"", "55,45", "37,37"},
        {"every degree sign becomes a comma", "Город;1°2°3';4'", "1,2,3", "4"},
        {"apostrophes at the start stay", "Город;''55°45';'", "''55,45", "'"},
        {"only apostrophes stay whole", "Город;''';''", "'''", "''"},
        {"control characters trimmed",
         "Город;\x01\x1f"
         "55°45'\r;37°37\x7f\t",
         "55,45", "37,37\x7f"},
        {"negative west longitude", "Город;40°7128';-74°0060'", "40,7128", "-74,0060"},
    };
    for (const auto& c : cases) {
        const CityCoordinateTexts fields = ApplyCityLine(c.line);
        EXPECT_EQ(fields.latitude, c.latitude) << c.name << ": line \"" << c.line << "\"";
        EXPECT_EQ(fields.longitude, c.longitude) << c.name << ": line \"" << c.line << "\"";
    }
}

TEST(ApplyCityLine, LeavesOtherMultibyteCharactersAlone) {
    // "±" (C2 B1) shares its first byte with "°" (C2 B0) and must survive.
    const CityCoordinateTexts fields = ApplyCityLine("Город;±55°45';37\xC2\xB0");
    EXPECT_EQ(fields.latitude, "±55,45");
    EXPECT_EQ(fields.longitude, "37,");
}

TEST(CityIdentityOfLine, GivesNameAndZone) {
    struct Case {
        const char* line;
        const char* name;
        const char* zone;
    };
    const std::vector<Case> cases = {
        {"Москва;55°7558';37°6173';Europe/Moscow", "Москва", "Europe/Moscow"},
        {" Нижний Новгород ;56°3269';44°0059'; Europe/Moscow \r", "Нижний Новгород",
         "Europe/Moscow"},
        {"Город;1;2", "Город", ""},
        {";;Город", "Город", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const CityIdentity identity = CityIdentityOfLine(c.line);
        EXPECT_EQ(identity.name, c.name) << "line \"" << c.line << "\"";
        EXPECT_EQ(identity.zone, c.zone) << "line \"" << c.line << "\"";
    }
}

} // namespace
} // namespace toravel
