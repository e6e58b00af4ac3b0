#include "astro/calendar.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace toravel {
namespace {

struct CivilDate {
    int year, month, day;
};

std::string Text(const CivilDate& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

TEST(Calendar, ModifiedJulianDateOfKnownDates) {
    struct Row {
        const char* name;
        int year, month, day, hour, minute;
        double second, mjd;
    } rows[] = {
        {"origin 1858-11-17", 1858, 11, 17, 0, 0, 0.0, 0.0},
        {"J2000.0", 2000, 1, 1, 12, 0, 0.0, 51544.5},
        {"TDateTime origin 1899-12-30", 1899, 12, 30, 0, 0, 0.0, 15018.0},
        {"1900-02-28", 1900, 2, 28, 0, 0, 0.0, 15078.0},
        {"1900-03-01, 1900 no leap year", 1900, 3, 1, 0, 0, 0.0, 15079.0},
        {"2000-02-29, 2000 a leap year", 2000, 2, 29, 0, 0, 0.0, 51603.0},
        {"last Julian date 1582-10-04", 1582, 10, 4, 0, 0, 0.0, -100841.0},
        {"first Gregorian date 1582-10-15", 1582, 10, 15, 0, 0, 0.0, -100840.0},
        {"non-existent 1582-10-10, Gregorian rule", 1582, 10, 10, 0, 0, 0.0, -100845.0},
        {"time of day 18:00", 2000, 1, 1, 18, 0, 0.0, 51544.75},
        {"time of day 06:36:00", 1858, 11, 17, 6, 36, 0.0, 0.275},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(ModifiedJulianDate(r.year, r.month, r.day, r.hour, r.minute, r.second), r.mjd,
                    1e-9)
            << r.name;
    }
}

TEST(Calendar, CalendarFromMjdOfKnownMoments) {
    struct Row {
        const char* name;
        double mjd;
        CivilDate date;
        double hours;
    } rows[] = {
        {"last Julian date", -100841.0, {1582, 10, 4}, 0.0},
        {"first Gregorian date", -100840.0, {1582, 10, 15}, 0.0},
        {"1900-03-01, exact quotient 15", 15079.0, {1900, 3, 1}, 0.0},
        {"1900-02-28", 15078.0, {1900, 2, 28}, 0.0},
        {"2300-03-01, exact quotient 19", 161176.0, {2300, 3, 1}, 0.0},
        {"2300-02-28, 2300 no leap year", 161175.0, {2300, 2, 28}, 0.0},
        {"evening of J2000.0's day", 51544.75, {2000, 1, 1}, 18.0},
        {"negative MJD evening", -0.25, {1858, 11, 16}, 18.0},
    };
    for (const Row& r : rows) {
        int year = 0, month = 0, day = 0;
        double hours = -1.0;
        CalendarFromMjd(r.mjd, year, month, day, hours);
        EXPECT_EQ(Text({year, month, day}), Text(r.date)) << r.name << ", MJD " << r.mjd;
        EXPECT_NEAR(hours, r.hours, 1e-9) << r.name << ", MJD " << r.mjd;
    }
}

TEST(Calendar, CalendarFromMjdSplitsTheTimeOfDayWithoutRounding) {
    int year, month, day, hour, minute;
    double second;
    CalendarFromMjd(51544.75, year, month, day, hour, minute, second);
    EXPECT_EQ(Text({year, month, day}), "2000-1-1");
    EXPECT_EQ(hour, 18);
    EXPECT_EQ(minute, 0);
    EXPECT_NEAR(second, 0.0, 1e-6);

    // Half a millisecond before midnight stays on the same day at 23:59:59.9995.
    CalendarFromMjd(51544.0 - 0.0005 / 86400.0, year, month, day, hour, minute, second);
    EXPECT_EQ(Text({year, month, day}), "1999-12-31");
    EXPECT_EQ(hour, 23);
    EXPECT_EQ(minute, 59);
    EXPECT_NEAR(second, 59.9995, 1e-5);
}

bool IsLeap(int year, bool gregorian) {
    return gregorian ? (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) : year % 4 == 0;
}

// The civil date after d: the Julian calendar up to 1582-10-04, which is
// followed by 1582-10-15, then the Gregorian calendar.
CivilDate NextDay(CivilDate d) {
    if (d.year == 1582 && d.month == 10 && d.day == 4)
        return {1582, 10, 15};
    const bool gregorian = d.year > 1582 || (d.year == 1582 && d.month >= 10);
    static constexpr int Length[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int length = Length[d.month - 1];
    if (d.month == 2 && IsLeap(d.year, gregorian))
        length = 29;
    if (d.day < length)
        return {d.year, d.month, d.day + 1};
    if (d.month < 12)
        return {d.year, d.month + 1, 1};
    return {d.year + 1, 1, 1};
}

TEST(Calendar, EveryDayFromYearOneTo2400SurvivesTheRoundTrip) {
    const int first = static_cast<int>(ModifiedJulianDate(1, 1, 1, 0, 0, 0));
    const int last = static_cast<int>(ModifiedJulianDate(2401, 12, 31, 0, 0, 0));
    CivilDate expected{1, 1, 1};
    int failures = 0;
    for (int mjd = first; mjd <= last && failures < 5; ++mjd) {
        int year, month, day;
        double hours;
        CalendarFromMjd(mjd, year, month, day, hours);
        const CivilDate got{year, month, day};
        // Each MJD is the day after the one before it in the civil calendar...
        if (Text(got) != Text(expected)) {
            ADD_FAILURE() << "MJD " << mjd << " gave " << Text(got) << ", expected "
                          << Text(expected);
            ++failures;
        }
        // ...and comes back unchanged through ModifiedJulianDate.
        const double back = ModifiedJulianDate(year, month, day, 0, 0, 0);
        if (back != mjd || hours != 0.0) {
            ADD_FAILURE() << "MJD " << mjd << " -> " << Text(got) << " -> " << back << ", hours "
                          << hours;
            ++failures;
        }
        expected = NextDay(got);
    }
    EXPECT_EQ(expected.year, 2402);
}

} // namespace
} // namespace toravel
