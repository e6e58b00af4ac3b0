// The birthplace's offset from the tz database and the spin-box hint built on
// it. The lookup reads the zone files directly and never TZ, so every zone is
// tested in this one process (which runs with TZ=UTC); the last tests check
// that TZ and the computer's own offset are as they were.
#include "place/birthplace_zone.h"
#include "place/birthplace_zone_hint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "platform/computer_zone.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

struct OffsetCase {
    const char* what;
    const char* zone;
    TDateTime local;
    int offsetSeconds;
    bool summerTime;
    bool keepsDaylightTime;
};

// Offsets written out by hand from the zones' published histories.
const OffsetCase kOffsets[] = {
    {"Moscow, summer 1990 (MSD)", "Europe/Moscow", EncodeDateTime(1990, 7, 17, 12, 0), 4 * 3600,
     true, true},
    {"Moscow, winter 1990 (MSK)", "Europe/Moscow", EncodeDateTime(1990, 1, 15, 12, 0), 3 * 3600,
     false, true},
    {"Moscow, July 2012: UTC+4 all year", "Europe/Moscow", EncodeDateTime(2012, 7, 17, 12, 0),
     4 * 3600, false, false},
    {"Moscow, 2020: UTC+3 all year", "Europe/Moscow", EncodeDateTime(2020, 7, 1, 12, 0), 3 * 3600,
     false, false},
    {"Novosibirsk, January 2015", "Asia/Novosibirsk", EncodeDateTime(2015, 1, 15, 12, 0), 6 * 3600,
     false, false},
    {"Kolkata", "Asia/Kolkata", EncodeDateTime(2000, 6, 1, 12, 0), 5 * 3600 + 30 * 60, false,
     false},
    {"Moscow, June 1919 (MDST 4:31:19)", "Europe/Moscow", EncodeDateTime(1919, 6, 10, 12, 0),
     4 * 3600 + 31 * 60 + 19, true, true},
    {"Moscow, August 1919 after the summer time (MSK)", "Europe/Moscow",
     EncodeDateTime(1919, 8, 20, 12, 0), 3 * 3600, false, true},
    {"Moscow mean time 1910", "Europe/Moscow", EncodeDateTime(1910, 1, 1, 12, 0),
     2 * 3600 + 30 * 60 + 17, false, false},
    {"Novosibirsk local mean time 1919", "Asia/Novosibirsk", EncodeDateTime(1919, 1, 1, 12, 0),
     5 * 3600 + 31 * 60 + 40, false, false},
    {"New York, July (beyond the last listed year)", "America/New_York",
     EncodeDateTime(2030, 7, 1, 12, 0), -4 * 3600, true, true},
    {"New York, January", "America/New_York", EncodeDateTime(2030, 1, 15, 12, 0), -5 * 3600, false,
     true},
    {"Sydney, January: southern summer", "Australia/Sydney", EncodeDateTime(2020, 1, 15, 12, 0),
     11 * 3600, true, true},
    {"Sydney, July", "Australia/Sydney", EncodeDateTime(2020, 7, 15, 12, 0), 10 * 3600, false,
     true},
    // Dublin's winter is flagged as a negative daylight saving in the
    // database; to the user it is still winter time.
    {"Dublin, January (negative daylight saving)", "Europe/Dublin",
     EncodeDateTime(2020, 1, 15, 12, 0), 0, false, true},
    {"Dublin, July", "Europe/Dublin", EncodeDateTime(2020, 7, 15, 12, 0), 3600, true, true},
    {"name with the line's CR and blanks", " Europe/Moscow\r", EncodeDateTime(1990, 7, 17, 12, 0),
     4 * 3600, true, true},
};

TEST(BirthplaceZone, HistoricalOffsetsAndSummerTime) {
    for (const OffsetCase& c : kOffsets) {
        const std::optional<BirthplaceOffset> offset = BirthplaceOffsetAt(c.zone, c.local);
        ASSERT_TRUE(offset.has_value()) << c.what;
        EXPECT_EQ(offset->offsetSeconds, c.offsetSeconds) << c.what;
        EXPECT_EQ(offset->summerTime, c.summerTime) << c.what;
        EXPECT_EQ(offset->keepsDaylightTimeThatYear, c.keepsDaylightTime) << c.what;
        EXPECT_EQ(offset->reading, LocalClockReading::Unique) << c.what;
    }
}

struct ClockChangeCase {
    const char* what;
    const char* zone;
    TDateTime local;
    int offsetSeconds; // the offset in force before the change
    LocalClockReading reading;
};

TEST(BirthplaceZone, SkippedAndRepeatedReadingsTakeTheOffsetBeforeTheChange) {
    const ClockChangeCase cases[] = {
        {"Moscow 25.03.1990 2:30, skipped", "Europe/Moscow", EncodeDateTime(1990, 3, 25, 2, 30),
         3 * 3600, LocalClockReading::Skipped},
        {"Moscow 25.03.1990 3:00, the first minute after", "Europe/Moscow",
         EncodeDateTime(1990, 3, 25, 3, 0), 4 * 3600, LocalClockReading::Unique},
        {"Moscow 30.09.1990 2:30, repeated", "Europe/Moscow", EncodeDateTime(1990, 9, 30, 2, 30),
         4 * 3600, LocalClockReading::Repeated},
        {"Moscow 30.09.1990 3:00, after the repeat", "Europe/Moscow",
         EncodeDateTime(1990, 9, 30, 3, 0), 3 * 3600, LocalClockReading::Unique},
        {"New York 13.03.2011 2:30, skipped", "America/New_York",
         EncodeDateTime(2011, 3, 13, 2, 30), -5 * 3600, LocalClockReading::Skipped},
        {"New York 6.11.2011 1:30, repeated", "America/New_York",
         EncodeDateTime(2011, 11, 6, 1, 30), -4 * 3600, LocalClockReading::Repeated},
    };
    for (const ClockChangeCase& c : cases) {
        const std::optional<BirthplaceOffset> offset = BirthplaceOffsetAt(c.zone, c.local);
        ASSERT_TRUE(offset.has_value()) << c.what;
        EXPECT_EQ(offset->offsetSeconds, c.offsetSeconds) << c.what;
        EXPECT_EQ(offset->reading, c.reading) << c.what;
    }
}

TEST(BirthplaceZone, UnknownEmptyOrPathLikeNamesGiveNothing) {
    const TDateTime moment = EncodeDateTime(1990, 7, 17, 12, 0);
    for (const char* name :
         {"", "   ", "Europe/Atlantis", "europe/moscow", "../../etc/passwd",
          "/usr/share/zoneinfo/Europe/Moscow", "Europe/Moscow/..", "Europe/Moscow;x", "Москва"}) {
        EXPECT_FALSE(BirthplaceOffsetAt(name, moment).has_value()) << "'" << name << "'";
        EXPECT_FALSE(IsKnownZoneName(name)) << "'" << name << "'";
    }
    EXPECT_TRUE(IsKnownZoneName("Europe/Moscow"));
}

TEST(BirthplaceZone, MomentOutsideTheCalendarGivesNothing) {
    EXPECT_FALSE(BirthplaceOffsetAt("Europe/Moscow", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(BirthplaceOffsetAt("Europe/Moscow", EncodeDateTime(9999, 12, 31) + 2));
}

TEST(BirthplaceZone, EveryZoneOfTheCityListIsInTheDatabase) {
    std::ifstream atlas(TORAVEL_ATLAS_PATH);
    ASSERT_TRUE(atlas) << TORAVEL_ATLAS_PATH;
    std::string line;
    int places = 0;
    while (std::getline(atlas, line)) {
        const std::size_t lastSeparator = line.rfind(';');
        ASSERT_NE(lastSeparator, std::string::npos) << line;
        const std::string zone = line.substr(lastSeparator + 1);
        EXPECT_TRUE(BirthplaceOffsetAt(zone, EncodeDateTime(1990, 7, 17, 12, 0)).has_value())
            << line;
        ++places;
    }
    EXPECT_GT(places, 300);
}

TEST(BirthplaceZone, UtcOffsetTextForTheCommandLine) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {4 * 3600, "+04:00"},  {-5 * 3600, "-05:00"},
        {19800, "+05:30"},     {0, "+00:00"},
        {-1800, "-00:30"},     {-(9 * 3600 + 1800), "-09:30"},
        {12 * 3600, "+12:00"}, {2 * 3600 + 30 * 60 + 17, "+02:30:17"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UtcOffsetText(c.seconds), c.text) << c.seconds << " s";
}

constexpr int kMoscowComputer = 3 * 3600;
constexpr int kUtcComputer = 0;

struct HintCase {
    const char* what;
    const char* zone;
    TDateTime local;
    int computerSeconds;
    const char* text;
    int spinValue;
    bool canApply;
};

const HintCase kHints[] = {
    {"Moscow computer, Москва 17.07.1990", "Europe/Moscow", EncodeDateTime(1990, 7, 17, 12, 0),
     kMoscowComputer, "в месте рождения UTC+4:00 (летнее время); для расчёта укажите 1", 1, true},
    {"UTC computer, Москва 17.07.1990", "Europe/Moscow", EncodeDateTime(1990, 7, 17, 12, 0),
     kUtcComputer, "в месте рождения UTC+4:00 (летнее время); для расчёта укажите 4", 4, true},
    {"UTC computer, Москва January 1990", "Europe/Moscow", EncodeDateTime(1990, 1, 15, 12, 0),
     kUtcComputer, "в месте рождения UTC+3:00 (зимнее время); для расчёта укажите 3", 3, true},
    {"Moscow computer, Москва 2012", "Europe/Moscow", EncodeDateTime(2012, 7, 17, 12, 0),
     kMoscowComputer, "в месте рождения UTC+4:00; для расчёта укажите 1", 1, true},
    {"Moscow computer, Москва 2020", "Europe/Moscow", EncodeDateTime(2020, 7, 17, 12, 0),
     kMoscowComputer, "в месте рождения UTC+3:00; для расчёта укажите 0", 0, true},
    {"New York computer (winter offset), New York July", "America/New_York",
     EncodeDateTime(2020, 7, 1, 12, 0), -5 * 3600,
     "в месте рождения UTC-4:00 (летнее время); для расчёта укажите 1", 1, true},
    {"Moscow computer, New York January", "America/New_York", EncodeDateTime(2020, 1, 15, 12, 0),
     kMoscowComputer, "в месте рождения UTC-5:00 (зимнее время); для расчёта укажите -8", -8, true},
    {"computer at UTC-10, a place at UTC+12", "Asia/Kamchatka", EncodeDateTime(2015, 7, 1, 12, 0),
     -10 * 3600, "в месте рождения UTC+12:00; для расчёта нужно 22, а поле принимает от -12 до 12",
     22, false},
    {"computer at UTC+14, New York January", "America/New_York", EncodeDateTime(2020, 1, 15, 12, 0),
     14 * 3600,
     "в месте рождения UTC-5:00 (зимнее время); для расчёта нужно -19, а поле принимает от -12 "
     "до 12",
     -19, false},
    {"twelve hours is still in range", "Asia/Kamchatka", EncodeDateTime(2015, 7, 1, 12, 0),
     kUtcComputer, "в месте рождения UTC+12:00; для расчёта укажите 12", 12, true},
    {"Moscow computer, Kolkata: half an hour left", "Asia/Kolkata",
     EncodeDateTime(2000, 6, 1, 12, 0), kMoscowComputer,
     "в месте рождения UTC+5:30; для расчёта укажите 3 — ближайший целый час, часы расчёта "
     "опередят местные на 30 мин",
     3, true},
    {"Kolkata computer, Kolkata: the halves cancel", "Asia/Kolkata",
     EncodeDateTime(2000, 6, 1, 12, 0), 19800, "в месте рождения UTC+5:30; для расчёта укажите 0",
     0, true},
    {"Kolkata computer, Kathmandu: a quarter behind", "Asia/Kathmandu",
     EncodeDateTime(2000, 6, 1, 12, 0), 19800,
     "в месте рождения UTC+5:45; для расчёта укажите 0 — ближайший целый час, часы расчёта "
     "отстанут от местных на 15 мин",
     0, true},
    {"Moscow computer, Moscow mean time 1910", "Europe/Moscow", EncodeDateTime(1910, 1, 1, 12, 0),
     kMoscowComputer,
     "в месте рождения UTC+2:30:17; для расчёта укажите 0 — ближайший целый час, часы расчёта "
     "опередят местные на 29 мин 43 с",
     0, true},
    {"UTC computer, Moscow mean time 1910", "Europe/Moscow", EncodeDateTime(1910, 1, 1, 12, 0),
     kUtcComputer,
     "в месте рождения UTC+2:30:17; для расчёта укажите 3 — ближайший целый час, часы расчёта "
     "опередят местные на 29 мин 43 с",
     3, true},
    {"Moscow computer, skipped reading", "Europe/Moscow", EncodeDateTime(1990, 3, 25, 2, 30),
     kMoscowComputer,
     "в месте рождения UTC+3:00 (зимнее время); для расчёта укажите 0; время рождения приходится "
     "на перевод часов, взято смещение до перевода",
     0, true},
};

TEST(BirthplaceZoneHint, TextAndSpinValue) {
    for (const HintCase& c : kHints) {
        const BirthplaceZoneHint hint = MakeBirthplaceZoneHint(c.zone, c.local, c.computerSeconds);
        EXPECT_EQ(hint.text, c.text) << c.what;
        ASSERT_TRUE(hint.spinValue.has_value()) << c.what;
        EXPECT_EQ(*hint.spinValue, c.spinValue) << c.what;
        EXPECT_EQ(hint.canApply, c.canApply) << c.what;
        EXPECT_TRUE(hint.offset.has_value()) << c.what;
    }
}

TEST(BirthplaceZoneHint, UnknownOrMissingZone) {
    const TDateTime moment = EncodeDateTime(1990, 7, 17, 12, 0);
    const struct {
        const char* zone;
        const char* text;
    } cases[] = {
        {"Europe/Atlantis", "часовой пояс места рождения «Europe/Atlantis» неизвестен"},
        {"Москва",
         "часовой пояс места рождения неизвестен"}, // not shown: not a zone name's letters
        {"", ""},                                   // the place has no zone: no hint
        {" \r", ""},
    };
    for (const auto& c : cases) {
        const BirthplaceZoneHint hint = MakeBirthplaceZoneHint(c.zone, moment, kMoscowComputer);
        EXPECT_EQ(hint.text, c.text) << "'" << c.zone << "'";
        EXPECT_FALSE(hint.spinValue.has_value()) << "'" << c.zone << "'";
        EXPECT_FALSE(hint.canApply) << "'" << c.zone << "'";
    }
}

TEST(BirthplaceZone, LookupsLeaveTzAndTheComputersOffsetAlone) {
    const char* before = std::getenv("TZ");
    const std::string tzBefore = before ? before : "(unset)";
    const TDateTime probe = EncodeDateTime(2011, 7, 1, 12, 0);
    const int computerBefore = ComputerZoneAt(probe).offsetSeconds;

    for (const char* zone : {"Europe/Moscow", "America/New_York", "Asia/Kolkata", "Europe/Nowhere"})
        (void)MakeBirthplaceZoneHint(zone, EncodeDateTime(1990, 7, 17, 12, 0), computerBefore);

    const char* after = std::getenv("TZ");
    EXPECT_EQ(after ? std::string(after) : "(unset)", tzBefore);
    EXPECT_EQ(ComputerZoneAt(probe).offsetSeconds, computerBefore);
}

} // namespace
} // namespace toravel
