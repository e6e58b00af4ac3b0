// The TDateTime encoder and decoder: one double per moment, exact day counts,
// and round trips over the whole range of years.
#include "platform/tdatetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace toravel {
namespace {

struct Fields {
    int year, month, day, hour, minute, second, millisecond;
};

TEST(TDateTime, KnownDaysAndTimesOfDay) {
    struct Row {
        Fields fields;
        double expected;
    };
    const Row rows[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1899, 12, 31, 0, 0, 0, 0}, 1.0},
        {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{1900, 3, 1, 0, 0, 0, 0}, 61.0}, // 1900 is no leap year
        {{2000, 1, 1, 0, 0, 0, 0}, 36526.0},
        {{2011, 1, 1, 0, 0, 0, 0}, 40544.0},
        {{2011, 1, 1, 3, 0, 0, 0}, 40544.125},
        {{2011, 1, 1, 18, 0, 0, 0}, 40544.75},
        {{1899, 12, 29, 0, 0, 0, 0}, -1.0},
        {{1899, 12, 29, 6, 0, 0, 0}, -0.75},     // day floor(t) = -1, time of day 0.25
        {{1582, 10, 15, 0, 0, 0, 0}, -115858.0}, // first Gregorian day
        {{1582, 10, 4, 0, 0, 0, 0}, -115859.0},  // the Julian day before it
        {{1500, 2, 29, 0, 0, 0, 0}, -146027.0},  // a Julian leap day
        {{1, 1, 1, 0, 0, 0, 0}, -693595.0},      // 1.1.0001 Julian
        {{9999, 12, 31, 0, 0, 0, 0}, 2958465.0},
    };
    for (const Row& r : rows) {
        const Fields& f = r.fields;
        EXPECT_EQ(EncodeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond),
                  r.expected)
            << f.day << '.' << f.month << '.' << f.year << ' ' << f.hour << ':' << f.minute;
    }
}

TEST(TDateTime, SameMinuteByDifferentPathsIsTheSameDouble) {
    // A birth moment (date + time of day to the second) and a value decoded
    // and encoded again must be bit-identical, and equal to the single-division
    // rule whatever the day.
    for (int day = 1; day <= 28; day += 9) {
        for (int minuteOfDay = 0; minuteOfDay < 1440; ++minuteOfDay) {
            const int hour = minuteOfDay / 60, minute = minuteOfDay % 60;
            const TDateTime encoded = EncodeDateTime(1990, 5, day, hour, minute);
            const TDateTime date = EncodeDateTime(1990, 5, day);
            EXPECT_EQ(encoded, date + (minuteOfDay * 60000.0) / 86400000.0)
                << day << " at minute " << minuteOfDay;
            int y, mo, d, h, mi, s, ms;
            DecodeDateTime(encoded, y, mo, d, h, mi, s, ms);
            EXPECT_EQ(EncodeDateTime(y, mo, d, h, mi, s, ms), encoded);
        }
    }
}

TEST(TDateTime, DayIsFloorAndTimeOfDayIsTheRest) {
    const TDateTime before = EncodeDateTime(1899, 12, 29, 18, 0);
    EXPECT_EQ(before, -0.25);
    EXPECT_EQ(DateOf(before), -1.0);
    EXPECT_EQ(TimeOf(before), 0.75);
    const TDateTime after = EncodeDateTime(1990, 5, 17, 14, 30);
    EXPECT_EQ(DateOf(after), EncodeDateTime(1990, 5, 17));
    EXPECT_EQ(TimeOf(after), after - EncodeDateTime(1990, 5, 17));
    EXPECT_EQ(TimeOf(EncodeDateTime(1200, 2, 29)), 0.0);
}

TEST(TDateTime, RefusesFieldsOutOfRange) {
    const Fields refused[] = {
        {0, 1, 1, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0},   {2000, 0, 1, 0, 0, 0, 0},
        {2000, 13, 1, 0, 0, 0, 0}, {2000, 1, 0, 0, 0, 0, 0},    {2000, 1, 32, 0, 0, 0, 0},
        {1900, 2, 29, 0, 0, 0, 0}, {2023, 2, 29, 0, 0, 0, 0},   {2000, 4, 31, 0, 0, 0, 0},
        {2000, 1, 1, 24, 0, 0, 0}, {2000, 1, 1, -1, 0, 0, 0},   {2000, 1, 1, 0, 60, 0, 0},
        {2000, 1, 1, 0, 0, 60, 0}, {2000, 1, 1, 0, 0, 0, 1000}, {2000, 1, 1, 0, 0, 0, -1},
    };
    for (const Fields& f : refused) {
        TDateTime result = 123.0;
        EXPECT_FALSE(TryEncodeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second,
                                       f.millisecond, result))
            << f.day << '.' << f.month << '.' << f.year << ' ' << f.hour << ':' << f.minute << ':'
            << f.second << '.' << f.millisecond;
        EXPECT_EQ(result, 123.0) << "result must stay untouched";
    }
    TDateTime leap = 0;
    EXPECT_TRUE(TryEncodeDateTime(2000, 2, 29, 23, 59, 59, 999, leap));
    EXPECT_THROW(EncodeDateTime(2023, 2, 29), std::invalid_argument);
}

TEST(TDateTime, EveryDayOfYearsOneTo9999RoundTrips) {
    const auto first = static_cast<long>(EncodeDateTime(1, 1, 1));
    const auto last = static_cast<long>(EncodeDateTime(9999, 12, 31));
    int expectedYear = 1, expectedMonth = 1, expectedDay = 1;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (long serial = first; serial <= last; ++serial) {
        // The time of day moves through the day so that every millisecond
        // count of the day is decoded somewhere along the way.
        const int msOfDay = static_cast<int>((serial - first) * 7919 % 86400000);
        const TDateTime t = static_cast<double>(serial) + msOfDay / 86400000.0;
        int y, mo, d, h, mi, s, ms;
        DecodeDateTime(t, y, mo, d, h, mi, s, ms);
        ASSERT_TRUE(y == expectedYear && mo == expectedMonth && d == expectedDay)
            << "serial " << serial << " gave " << d << '.' << mo << '.' << y << ", expected "
            << expectedDay << '.' << expectedMonth << '.' << expectedYear;
        ASSERT_EQ(((h * 60 + mi) * 60 + s) * 1000 + ms, msOfDay) << "serial " << serial;
        ASSERT_EQ(EncodeDateTime(y, mo, d, h, mi, s, ms), t) << "serial " << serial;
        const bool leap = y < 1582 ? y % 4 == 0 : (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        const int monthLength = mo == 2 && leap ? 29 : kDays[mo - 1];
        if (y == 1582 && mo == 10 && d == 4) {
            expectedDay = 14; // the calendar reform skips to the 15th
        }
        if (++expectedDay > monthLength) {
            expectedDay = 1;
            if (++expectedMonth > 12) {
                expectedMonth = 1;
                ++expectedYear;
            }
        }
    }
    EXPECT_EQ(expectedYear, 10000);
}

TEST(TDateTime, DecodeRoundsToTheMillisecondAndCarriesTheDay) {
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(EncodeDateTime(1990, 5, 18) - 1e-10, y, mo, d, h, mi, s, ms);
    EXPECT_TRUE(y == 1990 && mo == 5 && d == 18 && h == 0 && mi == 0 && s == 0 && ms == 0)
        << d << '.' << mo << '.' << y << ' ' << h << ':' << mi << ':' << s << '.' << ms;
    EXPECT_THROW(DecodeDateTime(EncodeDateTime(1, 1, 1) - 0.5, y, mo, d, h, mi, s, ms),
                 std::out_of_range);
    EXPECT_THROW(DecodeDateTime(EncodeDateTime(9999, 12, 31) + 1, y, mo, d, h, mi, s, ms),
                 std::out_of_range);
    EXPECT_THROW(DecodeDateTime(std::nan(""), y, mo, d, h, mi, s, ms), std::out_of_range);
}

TEST(TDateTime, NowFollowsTheSystemClock) {
    // The tests run with TZ=UTC, so the local clock is the system clock.
    const double before = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
    const TDateTime now = Now();
    const double after = static_cast<double>(std::time(nullptr) + 1) / 86400.0 + 25569.0;
    EXPECT_GE(now, before - 1e-9);
    EXPECT_LE(now, after);
    const TDateTime today = Today();
    EXPECT_EQ(TimeOf(today), 0.0);
    EXPECT_LE(now - today, 1.0 + 1e-9);
}

} // namespace
} // namespace toravel
