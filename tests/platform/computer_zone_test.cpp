// The computer's offset from Greenwich over the system's time-zone database.
// glibc reads TZ once, so each zone is its own CTest registration (see
// CMakeLists.txt); the tests look up what to expect from the TZ they run in.
#include "platform/computer_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/tdatetime.h"

namespace toravel {
namespace {

const std::string kPrefix = "на компьютере разница по времени с гринвичем составляет ";

struct ZoneExpectation {
    const char* tz;
    int januarySeconds; // offset on 1 January 2011
    int julySeconds;    // offset on 1 July 2011
    double januaryDays;
    const char* januaryLabel;
    // Greenwich time of the local moments 1.1.2011 1:30:15.250 (the date
    // changes east of Greenwich) and 1.7.2011 23:45:59.999 (west of it).
    TDateTime januaryUtc;
    TDateTime julyUtc;
};

// Every value written out by hand from the zones' rules, not computed.
const ZoneExpectation kZones[] = {
    {"UTC", 0, 0, 0.0, "0:00:00", EncodeDateTime(2011, 1, 1, 1, 30, 15, 250),
     EncodeDateTime(2011, 7, 1, 23, 45, 59, 999)},
    {"Europe/Moscow", 3 * 3600, 4 * 3600, 0.125, "+ 3:00:00",
     EncodeDateTime(2010, 12, 31, 22, 30, 15, 250), EncodeDateTime(2011, 7, 1, 19, 45, 59, 999)},
    {"America/New_York", -5 * 3600, -4 * 3600, -0.20833333333333334, "- 5:00:00",
     EncodeDateTime(2011, 1, 1, 6, 30, 15, 250), EncodeDateTime(2011, 7, 2, 3, 45, 59, 999)},
    {"Asia/Kolkata", 19800, 19800, 0.22916666666666666, "+ 5:30:00",
     EncodeDateTime(2010, 12, 31, 20, 0, 15, 250), EncodeDateTime(2011, 7, 1, 18, 15, 59, 999)},
};

const ZoneExpectation& ExpectedZone() {
    const char* tz = std::getenv("TZ");
    for (const ZoneExpectation& z : kZones)
        if (tz != nullptr && std::string(tz) == z.tz)
            return z;
    ADD_FAILURE() << "no expectation for TZ=" << (tz ? tz : "(unset)");
    return kZones[0];
}

TEST(ComputerZone, OffsetAndLabelOnTheReferenceDate) {
    const ZoneExpectation& z = ExpectedZone();
    for (const int hour : {0, 3, 12, 23}) {
        const ComputerZone zone = ComputerZoneAt(EncodeDateTime(2011, 1, 1, hour, 17, 42));
        EXPECT_EQ(zone.offsetSeconds, z.januarySeconds) << z.tz << " at " << hour << " h";
        EXPECT_EQ(zone.offsetDays, z.januaryDays) << z.tz << " at " << hour << " h";
        EXPECT_EQ(zone.labelText, kPrefix + z.januaryLabel) << z.tz;
    }
}

TEST(ComputerZone, StartUpOffsetIsTheJanuaryOneWhateverToday) {
    const ZoneExpectation& z = ExpectedZone();
    const ComputerZone zone = ComputeComputerZoneOffset();
    EXPECT_EQ(zone.offsetDays, z.januaryDays) << z.tz;
    EXPECT_EQ(zone.labelText, kPrefix + z.januaryLabel) << z.tz;
}

TEST(ComputerZone, DaylightTimeFollowsTheZonesRulesForTheDate) {
    const ZoneExpectation& z = ExpectedZone();
    EXPECT_EQ(ComputerZoneAt(EncodeDateTime(2011, 7, 1, 12, 0)).offsetSeconds, z.julySeconds)
        << z.tz;
}

TEST(ComputerZone, LocalTimeToUtcSubtractsTheOffsetToTheMillisecond) {
    const ZoneExpectation& z = ExpectedZone();
    EXPECT_EQ(LocalTimeToUtc(EncodeDateTime(2011, 1, 1, 1, 30, 15, 250)), z.januaryUtc) << z.tz;
    EXPECT_EQ(LocalTimeToUtc(EncodeDateTime(2011, 7, 1, 23, 45, 59, 999)), z.julyUtc) << z.tz;
    // The start-up reference: Greenwich time minus the offset is the local time.
    const TDateTime reference = EncodeDateTime(2011, 1, 1, 12, 0);
    EXPECT_EQ(LocalTimeToUtc(reference),
              EncodeDateTime(2011, 1, 1, 12, 0) - z.januarySeconds / 86400.0)
        << z.tz;
}

TEST(ComputerZone, OffsetAndGreenwichTimeAgreeAcrossClockChanges) {
    // Local times that New York's (2011-03-13, 2011-11-06) or Moscow's
    // (2011-03-27) clock change skips or repeats, and ordinary ones.
    const TDateTime moments[] = {
        EncodeDateTime(2011, 3, 13, 2, 30),  EncodeDateTime(2011, 11, 6, 1, 30),
        EncodeDateTime(2011, 3, 27, 2, 30),  EncodeDateTime(2011, 3, 27, 3, 30),
        EncodeDateTime(1990, 5, 17, 14, 30), EncodeDateTime(1941, 6, 22, 4, 0),
    };
    const char* tz = std::getenv("TZ");
    for (const TDateTime local : moments) {
        const long differenceMs = std::lround((local - LocalTimeToUtc(local)) * 86400000.0);
        EXPECT_EQ(differenceMs, ComputerZoneAt(local).offsetSeconds * 1000L)
            << (tz ? tz : "(unset)") << " local " << local;
    }
}

TEST(ComputerZone, GreenwichTimeOutsideTheYearsIsAnError) {
    const ZoneExpectation& z = ExpectedZone();
    if (z.januarySeconds == 0)
        GTEST_SKIP() << "no offset in " << z.tz;
    const TDateTime edge =
        z.januarySeconds < 0 ? EncodeDateTime(9999, 12, 31, 23, 59) : EncodeDateTime(1, 1, 1, 0, 0);
    EXPECT_THROW(LocalTimeToUtc(edge), std::out_of_range) << z.tz;
}

} // namespace
} // namespace toravel
