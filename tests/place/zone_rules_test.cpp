// The zones' rules read from the compiled zone files, above all after 2037,
// where the files stop listing changes and their footer's lasting rule takes
// over. Expected offsets are Python's zoneinfo's over the same system files.
#include "place/zone_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>

#include "place/birthplace_zone.h"
#include "place/posix_zone_rule.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

struct LaterCase {
    const char* what;
    const char* zone;
    TDateTime local;
    int offsetSeconds;
    bool summerTime;
    LocalClockReading reading;
};

constexpr int H = 3600;

std::string SystemZoneFile(const std::string& name) {
    std::ifstream in("/usr/share/zoneinfo/" + name, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}
constexpr auto U = LocalClockReading::Unique;

const LaterCase kAfterTheListedYears[] = {
    {"Berlin, July 2038", "Europe/Berlin", EncodeDateTime(2038, 7, 1, 12), 2 * H, true, U},
    {"Berlin, July 2100", "Europe/Berlin", EncodeDateTime(2100, 7, 1, 12), 2 * H, true, U},
    {"Berlin, January 2100", "Europe/Berlin", EncodeDateTime(2100, 1, 15, 12), 1 * H, false, U},
    {"Berlin, 25.03.2040 02:30 is skipped", "Europe/Berlin", EncodeDateTime(2040, 3, 25, 2, 30),
     1 * H, false, LocalClockReading::Skipped},
    {"Berlin, 28.10.2040 02:30 is repeated", "Europe/Berlin", EncodeDateTime(2040, 10, 28, 2, 30),
     2 * H, true, LocalClockReading::Repeated},
    {"Chicago, 10.07.2050 23:28", "America/Chicago", EncodeDateTime(2050, 7, 10, 23, 28), -5 * H,
     true, U},
    {"Adelaide, June 2079: southern winter", "Australia/Adelaide", EncodeDateTime(2079, 6, 15, 12),
     9 * H + 1800, false, U},
    {"Adelaide, January 2079", "Australia/Adelaide", EncodeDateTime(2079, 1, 15, 12), 10 * H + 1800,
     true, U},
    {"Jerusalem: summer from the Friday at 26:00 of the day before", "Asia/Jerusalem",
     EncodeDateTime(2040, 3, 23, 12), 3 * H, true, U},
    {"Jerusalem: the Thursday before", "Asia/Jerusalem", EncodeDateTime(2040, 3, 22, 12), 2 * H,
     false, U},
    {"Nuuk: a change at -1:00", "America/Nuuk", EncodeDateTime(2040, 7, 1, 12), -1 * H, true, U},
    {"Nuuk, January", "America/Nuuk", EncodeDateTime(2040, 1, 1, 12), -2 * H, false, U},
    {"Santiago, January 2050", "America/Santiago", EncodeDateTime(2050, 1, 15, 12), -3 * H, true,
     U},
    {"Santiago, July 2050", "America/Santiago", EncodeDateTime(2050, 7, 15, 12), -4 * H, false, U},
    {"Dublin's negative saving: winter 2045 is not summer", "Europe/Dublin",
     EncodeDateTime(2045, 1, 15, 12), 0, false, U},
    {"Dublin, July 2045", "Europe/Dublin", EncodeDateTime(2045, 7, 15, 12), 1 * H, true, U},
    {"Chatham, 2060: +13:45", "Pacific/Chatham", EncodeDateTime(2060, 1, 1, 12), 13 * H + 2700,
     true, U},
};

TEST(ZoneRules, SummerTimeGoesOnAfterTheListedYears) {
    for (const LaterCase& c : kAfterTheListedYears) {
        const std::optional<BirthplaceOffset> offset = BirthplaceOffsetAt(c.zone, c.local);
        ASSERT_TRUE(offset) << c.what;
        EXPECT_EQ(offset->offsetSeconds, c.offsetSeconds) << c.what;
        EXPECT_EQ(offset->summerTime, c.summerTime) << c.what;
        EXPECT_EQ(offset->reading, c.reading) << c.what;
    }
}

TEST(ZoneRules, FooterStringsAsTheFilesWriteThem) {
    struct Case {
        const char* text;
        bool valid;
        int standard;
        bool daylight;
        int summer;
    };
    const Case cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", true, 1 * H, true, 2 * H},
        {"<+0530>-5:30", true, 5 * H + 1800, false, 0},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", true, -2 * H, true, -1 * H},
        {"IST-2IDT,M3.4.4/26,M10.5.0", true, 2 * H, true, 3 * H},
        {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45", true, 12 * H + 2700, true, 13 * H + 2700},
        {"EST5EDT,0/0,J365/25", true, -5 * H, true, -4 * H},
        {"", false, 0, false, 0},
        {"CET", false, 0, false, 0},
        {"CE-1", false, 0, false, 0},      // a name of fewer than three letters
        {"CET-1CEST", false, 0, false, 0}, // summer time without its dates
        {"CET-25", false, 0, false, 0},    // more than 24 hours
        {"CET-1CEST,M13.5.0,M10.5.0", false, 0, false, 0},
        {"CET-1CEST,M3.6.0,M10.5.0", false, 0, false, 0},
        {"CET-1CEST,M3.5.0,M10.5.0/168", false, 0, false, 0},
        {"CET-1CEST,J0,J365", false, 0, false, 0},
        {"<+05-5", false, 0, false, 0},
        {"CET-1CEST,M3.5.0,M10.5.0/3 ", false, 0, false, 0},
    };
    for (const Case& c : cases) {
        const std::optional<PosixZoneRule> rule = ParsePosixZoneRule(c.text);
        ASSERT_EQ(rule.has_value(), c.valid) << '"' << c.text << '"';
        if (!rule)
            continue;
        EXPECT_EQ(rule->standardOffsetSeconds, c.standard) << c.text;
        EXPECT_EQ(rule->hasDaylightTime, c.daylight) << c.text;
        if (c.daylight) {
            EXPECT_EQ(rule->daylightOffsetSeconds, c.summer) << c.text;
        }
    }
}

TEST(ZoneRules, SummerTimeAllYearStaysSummerTime) {
    const std::string file = SystemZoneFile("EST5EDT");
    std::string permanent =
        file.substr(0, file.rfind('\n', file.size() - 2) + 1) + "EST5EDT,0/0,J365/25\n";
    const std::optional<ZoneRules> rules = ZoneRules::FromZoneFile(permanent);
    ASSERT_TRUE(rules);
    for (const std::int64_t second :
         {DaysFromCivil(2040, 1, 1) * 86400 + 5 * H, DaysFromCivil(2040, 7, 1) * 86400,
          DaysFromCivil(2040, 12, 31) * 86400 + 23 * H}) {
        EXPECT_EQ(rules->PeriodAt(second).offsetSeconds, -4 * H) << second;
        EXPECT_TRUE(rules->PeriodAt(second).daylight) << second;
    }
}

TEST(ZoneRules, DamagedZoneFilesAreRefused) {
    const std::string berlin = SystemZoneFile("Europe/Berlin");
    ASSERT_TRUE(ZoneRules::FromZoneFile(berlin));

    std::string badMagic = berlin;
    badMagic[0] = 'X';
    const std::string leapSeconds = SystemZoneFile("right/Europe/Berlin");
    std::string noFooterEnd = berlin.substr(0, berlin.size() - 1);
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"header only", berlin.substr(0, 44)},
        {"cut in the 64-bit data", berlin.substr(0, berlin.size() / 2 + 200)},
        {"wrong magic", badMagic},
        {"leap seconds counted (right/Europe/Berlin)", leapSeconds},
        {"footer without its closing newline", noFooterEnd},
    };
    for (const auto& [what, bytes] : damaged)
        EXPECT_FALSE(ZoneRules::FromZoneFile(bytes)) << what;
}

} // namespace
} // namespace toravel
