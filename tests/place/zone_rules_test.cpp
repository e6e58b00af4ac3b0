// The zones' rules read from the compiled zone files, above all after 2037,
// where the files stop listing changes and their footer's lasting rule takes
// over. Expected offsets are Python's zoneinfo's over the same system files.
#include "place/zone_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "place/birthplace_zone.h"
#include "place/posix_zone_rule.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

constexpr int H = 3600;

std::string SystemZoneFile(const std::string& name) {
    std::ostringstream bytes;
    bytes << std::ifstream("/usr/share/zoneinfo/" + name, std::ios::binary).rdbuf();
    return bytes.str();
}

TEST(ZoneRules, SummerTimeGoesOnAfterTheListedYears) {
    constexpr auto U = LocalClockReading::Unique;
    const struct {
        const char* zone;
        int year, month, day, hour, minute;
        int offsetSeconds;
        bool summerTime;
        LocalClockReading reading;
    } rows[] = {
        {"Europe/Berlin", 2038, 7, 1, 12, 0, 2 * H, true, U},
        {"Europe/Berlin", 2100, 7, 1, 12, 0, 2 * H, true, U},
        {"Europe/Berlin", 2100, 1, 15, 12, 0, 1 * H, false, U},
        {"Europe/Berlin", 2040, 3, 25, 2, 30, 1 * H, false, LocalClockReading::Skipped},
        {"Europe/Berlin", 2040, 10, 28, 2, 30, 2 * H, true, LocalClockReading::Repeated},
        {"America/Chicago", 2050, 7, 10, 23, 28, -5 * H, true, U},
        {"Australia/Adelaide", 2079, 6, 15, 12, 0, 9 * H + 1800, false, U}, // southern winter
        {"Australia/Adelaide", 2079, 1, 15, 12, 0, 10 * H + 1800, true, U},
        // Summer from the Friday, at 26:00 of the Thursday before.
        {"Asia/Jerusalem", 2040, 3, 23, 12, 0, 3 * H, true, U},
        {"Asia/Jerusalem", 2040, 3, 22, 12, 0, 2 * H, false, U},
        {"America/Nuuk", 2040, 7, 1, 12, 0, -1 * H, true, U}, // changes at -1:00
        {"America/Nuuk", 2040, 1, 1, 12, 0, -2 * H, false, U},
        {"America/Santiago", 2050, 1, 15, 12, 0, -3 * H, true, U},
        {"America/Santiago", 2050, 7, 15, 12, 0, -4 * H, false, U},
        // Dublin's negative saving: the winter is not summer time.
        {"Europe/Dublin", 2045, 1, 15, 12, 0, 0, false, U},
        {"Europe/Dublin", 2045, 7, 15, 12, 0, 1 * H, true, U},
        {"Pacific/Chatham", 2060, 1, 1, 12, 0, 13 * H + 2700, true, U},
    };
    for (const auto& row : rows) {
        const TDateTime local = EncodeDateTime(row.year, row.month, row.day, row.hour, row.minute);
        const std::string what = std::string(row.zone) + " " + DateTimeToStr(local);
        const std::optional<BirthplaceOffset> offset = BirthplaceOffsetAt(row.zone, local);
        ASSERT_TRUE(offset) << what;
        EXPECT_EQ(offset->offsetSeconds, row.offsetSeconds) << what;
        EXPECT_EQ(offset->summerTime, row.summerTime) << what;
        EXPECT_EQ(offset->reading, row.reading) << what;
    }
}

TEST(ZoneRules, FooterStringsAsTheFilesWriteThem) {
    const struct {
        const char* text;
        int standard;
        bool daylight;
        int summer;
    } valid[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1 * H, true, 2 * H},
        {"<+0530>-5:30", 5 * H + 1800, false, 0},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", -2 * H, true, -1 * H},
        {"IST-2IDT,M3.4.4/26,M10.5.0", 2 * H, true, 3 * H},
        {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45", 12 * H + 2700, true, 13 * H + 2700},
        {"EST5EDT,0/0,J365/25", -5 * H, true, -4 * H},
    };
    for (const auto& c : valid) {
        const std::optional<PosixZoneRule> rule = ParsePosixZoneRule(c.text);
        ASSERT_TRUE(rule) << c.text;
        EXPECT_EQ(rule->standardOffsetSeconds, c.standard) << c.text;
        EXPECT_EQ(rule->hasDaylightTime, c.daylight) << c.text;
        if (c.daylight) {
            EXPECT_EQ(rule->daylightOffsetSeconds, c.summer) << c.text;
        }
    }
    // Refused: no offset, a name of fewer than three letters, summer time
    // without its dates, more than 24 hours, dates and hours out of range,
    // an unclosed "<", a blank after the rule.
    for (const char* text : {"", "CET", "CE-1", "CET-1CEST", "CET-25", "CET-1CEST,M13.5.0,M10.5.0",
                             "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.0,M10.5.0/168",
                             "CET-1CEST,J0,J365", "<+05-5", "CET-1CEST,M3.5.0,M10.5.0/3 "})
        EXPECT_FALSE(ParsePosixZoneRule(text)) << '"' << text << '"';
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
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"header only", berlin.substr(0, 44)},
        {"cut in the 64-bit data", berlin.substr(0, berlin.size() / 2 + 200)},
        {"wrong magic", badMagic},
        {"leap seconds counted (right/Europe/Berlin)", SystemZoneFile("right/Europe/Berlin")},
        {"footer without its closing newline", berlin.substr(0, berlin.size() - 1)},
    };
    for (const auto& [what, bytes] : damaged)
        EXPECT_FALSE(ZoneRules::FromZoneFile(bytes)) << what;
}

} // namespace
} // namespace toravel
