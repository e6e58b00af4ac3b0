#include "lunar/rise_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "astro/calendar.h"
#include "astro/constants.h"

namespace toravel {
namespace {

// Marks an output that must stay untouched.
constexpr double Untouched = -99.0;

// Local midnight of a date, as an MJD in universal time.
double DayStart(int year, int month, int day, double zoneHours) {
    return ModifiedJulianDate(year, month, day, 0, 0, 0.0) - zoneHours / 24.0;
}

TEST(ParabolaRoots, VertexRootsAndCount) {
    struct Row {
        const char* name;
        double yMinus, y0, yPlus;
        double extremumX, extremumY;
        double firstRoot, secondRoot; // Untouched when no real roots
        int rootCount;
    } rows[] = {
        {"two roots inside", 1, -1, 1, 0, -1, -0.7071067811865476, 0.7071067811865476, 2},
        {"one root inside, at 0", -1, 0, 3, -1, -1, 0, 0, 1},
        {"root exactly at +1 counts", -3, -1, 0, 1.5, 0.125, 1, 2, 1},
        {"both roots outside, first replaced", 1, 2, 1, 0, 2, 1.4142135623730951,
         1.4142135623730951, 0},
        {"no real roots", 1, 0.5, 1, 0, 0.5, Untouched, Untouched, 0},
        // Collinear samples: no vertex, no root, nothing infinite.
        {"collinear rising through 0", -1, 0, 1, 0, 0, Untouched, Untouched, 0},
        {"collinear without a crossing", 0, 1, 2, 0, 1, Untouched, Untouched, 0},
        {"constant", 0.25, 0.25, 0.25, 0, 0.25, Untouched, Untouched, 0},
        {"constant zero", 0, 0, 0, 0, 0, Untouched, Untouched, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        double extremumX = Untouched, extremumY = Untouched;
        double firstRoot = Untouched, secondRoot = Untouched;
        int rootCount = -1;
        ParabolaRoots(r.yMinus, r.y0, r.yPlus, extremumX, extremumY, firstRoot, secondRoot,
                      rootCount);
        EXPECT_EQ(rootCount, r.rootCount);
        EXPECT_DOUBLE_EQ(extremumX, r.extremumX);
        EXPECT_DOUBLE_EQ(extremumY, r.extremumY);
        EXPECT_DOUBLE_EQ(firstRoot, r.firstRoot);
        EXPECT_DOUBLE_EQ(secondRoot, r.secondRoot);
    }
}

TEST(FindRiseSetEvents, FillsTheStandardAltitudeTableOnFirstUse) {
    double riseHour = Untouched, setHour = Untouched;
    bool riseFound, setFound, upAtStart;
    FindRiseSetEvents(RiseSetKind::Moonrise, 55562.0, 0.0, 0.0, riseHour, setHour, riseFound,
                      setFound, upAtStart);
    ASSERT_TRUE(StandardAltitudeSineFilled);
    const double expected[RiseSetKindCount] = {0.0023271035689502685, -0.014543897651582656,
                                               -0.10452846326765347, -0.20791169081775934,
                                               -0.3090169943749474};
    for (int i = 0; i < RiseSetKindCount; ++i) {
        EXPECT_DOUBLE_EQ(StandardAltitudeSine[i], expected[i]) << "kind " << i;
    }
}

// Days on which the Moon neither rises nor sets, near the major lunar
// standstill of 2024-25 (declination ±28°). Swiss Ephemeris puts the
// geocentric Moon at least 6.6° above (or 8° below) the horizon all day.
TEST(FindRiseSetEvents, MoonUpOrDownAllDayLeavesTheHoursUntouched) {
    struct Row {
        const char* name;
        double latitudeDeg, longitudeDeg;
        int year, month, day;
        bool upAllDay;
    } rows[] = {
        {"70N, 2024-12-15, circumpolar", 70, 0, 2024, 12, 15, true},
        {"70N, 2024-12-30, never rises", 70, 0, 2024, 12, 30, false},
        {"70S, 2024-12-15, never rises", -70, 0, 2024, 12, 15, false},
        {"70S, 2024-12-30, circumpolar", -70, 0, 2024, 12, 30, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        double riseHour = Untouched, setHour = Untouched;
        bool riseFound = true, setFound = true, upAtStart = !r.upAllDay;
        FindRiseSetEvents(RiseSetKind::Moonrise, DayStart(r.year, r.month, r.day, 0),
                          r.longitudeDeg * RadiansPerDegree, r.latitudeDeg * RadiansPerDegree,
                          riseHour, setHour, riseFound, setFound, upAtStart);
        EXPECT_FALSE(riseFound);
        EXPECT_FALSE(setFound);
        EXPECT_EQ(upAtStart, r.upAllDay);
        EXPECT_EQ(riseHour, Untouched);
        EXPECT_EQ(setHour, Untouched);
    }
}

struct EventRow {
    const char* name;
    RiseSetKind kind;
    double latitudeDeg, longitudeDeg, zoneHours;
    int year, month, day;
    // Local hours by bisection on Swiss Ephemeris's geocentric position with
    // mean sidereal time; Untouched where there is no such event that day.
    double riseHour, setHour;
    bool upAtStart;
};

void CheckEvents(const EventRow& r) {
    SCOPED_TRACE(r.name);
    constexpr double OneMinute = 1.0 / 60.0;
    double riseHour = Untouched, setHour = Untouched;
    bool riseFound, setFound, upAtStart;
    FindRiseSetEvents(r.kind, DayStart(r.year, r.month, r.day, r.zoneHours),
                      r.longitudeDeg * RadiansPerDegree, r.latitudeDeg * RadiansPerDegree, riseHour,
                      setHour, riseFound, setFound, upAtStart);
    EXPECT_EQ(riseFound, r.riseHour != Untouched);
    EXPECT_EQ(setFound, r.setHour != Untouched);
    EXPECT_NEAR(riseHour, r.riseHour, OneMinute);
    EXPECT_NEAR(setHour, r.setHour, OneMinute);
    EXPECT_EQ(upAtStart, r.upAtStart);
}

// Moscow (55.75N, 37.62E, UTC+3), January 2011.
TEST(FindRiseSetEvents, MoonriseAndMoonsetAtMoscow) {
    constexpr RiseSetKind Moon = RiseSetKind::Moonrise;
    const EventRow rows[] = {
        {"rise in the morning, set in the afternoon", Moon, 55.75, 37.62, 3, 2011, 1, 1, 6.2931,
         13.2723, false},
        {"rise, no set", Moon, 55.75, 37.62, 3, 2011, 1, 11, 10.7039, Untouched, false},
        {"set in the morning, rise in the evening", Moon, 55.75, 37.62, 3, 2011, 1, 22, 20.8662,
         9.2507, true},
        {"rise a few minutes before midnight", Moon, 55.75, 37.62, 3, 2011, 1, 24, 23.8606, 9.7396,
         true},
        {"set, no rise", Moon, 55.75, 37.62, 3, 2011, 1, 25, Untouched, 10.0057, true},
    };
    for (const EventRow& r : rows) {
        CheckEvents(r);
    }
}

// The four Sun kinds see one and the same Sun and differ only in h0: on the
// June solstice at Moscow the Sun never sinks to −12°, so there is no
// nautical or astronomical twilight, while sunrise and civil dawn exist.
TEST(FindRiseSetEvents, SunKindsDifferOnlyInStandardAltitude) {
    const EventRow rows[] = {
        {"sunrise, June", RiseSetKind::Sunrise, 55.75, 37.62, 3, 2011, 6, 21, 3.7414, 21.3000,
         false},
        {"civil, June", RiseSetKind::CivilTwilight, 55.75, 37.62, 3, 2011, 6, 21, 2.7163, 22.3253,
         false},
        {"nautical, June", RiseSetKind::NauticalTwilight, 55.75, 37.62, 3, 2011, 6, 21, Untouched,
         Untouched, true},
        {"astronomical, June", RiseSetKind::AstronomicalTwilight, 55.75, 37.62, 3, 2011, 6, 21,
         Untouched, Untouched, true},
        {"sunrise, March", RiseSetKind::Sunrise, 55.75, 37.62, 3, 2011, 3, 20, 6.5534, 18.7041,
         false},
        {"civil, March", RiseSetKind::CivilTwilight, 55.75, 37.62, 3, 2011, 3, 20, 5.9402, 19.3196,
         false},
        {"nautical, March", RiseSetKind::NauticalTwilight, 55.75, 37.62, 3, 2011, 3, 20, 5.2117,
         20.0518, false},
        {"astronomical, March", RiseSetKind::AstronomicalTwilight, 55.75, 37.62, 3, 2011, 3, 20,
         4.4425, 20.8268, false},
    };
    for (const EventRow& r : rows) {
        CheckEvents(r);
    }

    const double cosLatitude = std::cos(55.75 * RadiansPerDegree);
    const double sinLatitude = std::sin(55.75 * RadiansPerDegree);
    const double longitude = 37.62 * RadiansPerDegree;
    for (double hour = 0; hour <= 24; hour += 3) {
        const double sunrise = SineOfAltitude(RiseSetKind::Sunrise, 55562.0, hour, longitude,
                                              cosLatitude, sinLatitude);
        for (RiseSetKind kind : {RiseSetKind::CivilTwilight, RiseSetKind::NauticalTwilight,
                                 RiseSetKind::AstronomicalTwilight}) {
            EXPECT_EQ(SineOfAltitude(kind, 55562.0, hour, longitude, cosLatitude, sinLatitude),
                      sunrise)
                << "kind " << static_cast<int>(kind) << ", hour " << hour;
        }
    }
}

TEST(FindRiseSetEvents, KindOutsideTheTableFindsNothing) {
    for (int value : {-1, 5, 127}) {
        double riseHour = Untouched, setHour = Untouched;
        bool riseFound = true, setFound = true, upAtStart = true;
        FindRiseSetEvents(static_cast<RiseSetKind>(value), 55562.0, 0.0, 0.0, riseHour, setHour,
                          riseFound, setFound, upAtStart);
        EXPECT_FALSE(riseFound) << "kind " << value;
        EXPECT_FALSE(setFound) << "kind " << value;
        EXPECT_FALSE(upAtStart) << "kind " << value;
        EXPECT_EQ(riseHour, Untouched) << "kind " << value;
        EXPECT_EQ(setHour, Untouched) << "kind " << value;
    }
}

// Dates on which the Moon rises twice, north of 64°: every rise of the day
// against Swiss Ephemeris (the moonrise reference of
// tools/check_month_calendar, toravel-check-month-calendar --second-rises).
TEST(FindAllRises, TwoMoonrisesOnOneDateAgreeWithTheReference) {
    const auto hms = [](int h, int m, int s) { return h + m / 60.0 + s / 3600.0; };
    const struct {
        const char* name;
        double latitudeDeg, longitudeDeg, zoneHours;
        int year, month, day;
        int count;
        double first, second; // local hours
    } rows[] = {
        {"Tromsø", 69.6492, 18.9553, 2, 2026, 6, 11, 2, hms(0, 23, 53), hms(23, 38, 7)},
        {"Norilsk", 69.3535, 88.2027, 7, 2024, 6, 4, 2, hms(1, 19, 57), hms(23, 23, 25)},
        {"Longyearbyen", 78.2232, 15.6267, 2, 2026, 6, 10, 2, hms(0, 16, 23), hms(22, 1, 25)},
        {"Moscow, one rise", 55.75, 37.62, 3, 2011, 1, 1, 1, 6.2931, 0},
        {"Moscow, none", 55.75, 37.62, 3, 2011, 1, 25, 0, 0, 0},
    };
    for (const auto& r : rows) {
        const RisesOfDay found =
            FindAllRises(RiseSetKind::Moonrise, DayStart(r.year, r.month, r.day, r.zoneHours),
                         r.longitudeDeg * RadiansPerDegree, r.latitudeDeg * RadiansPerDegree);
        ASSERT_EQ(found.count, r.count) << r.name;
        const double rises[] = {r.first, r.second};
        for (int i = 0; i < r.count; ++i)
            EXPECT_NEAR(found.hours[i], rises[i], 1.0 / 60.0) << r.name << ", rise " << i;
    }
}

// The rise the search keeps is one of them, to the bit, and a day without
// rise has none: the calendar's second moonrises never replace the count's.
// At Moscow's latitude the Moon never rises twice in a day.
TEST(FindAllRises, HoldsTheRiseTheSearchKeepsToTheBit) {
    int twice = 0;
    const double longitude = 18.96 * RadiansPerDegree;
    for (const double latitudeDeg : {0.0, 55.75, 66.0, 69.65, 78.22, -70.0}) {
        const double latitude = latitudeDeg * RadiansPerDegree;
        for (int day = 0; day < 800; ++day) {
            const double dayStart = 60000.0 + day - 0.1;
            double riseHour = Untouched, setHour = Untouched;
            bool riseFound, setFound, upAtStart;
            FindRiseSetEvents(RiseSetKind::Moonrise, dayStart, longitude, latitude, riseHour,
                              setHour, riseFound, setFound, upAtStart);
            const RisesOfDay all =
                FindAllRises(RiseSetKind::Moonrise, dayStart, longitude, latitude);
            const auto end = all.hours.begin() + all.count;
            const std::string where =
                std::to_string(latitudeDeg) + "°, MJD " + std::to_string(dayStart);
            if (riseFound)
                EXPECT_NE(std::find(all.hours.begin(), end, riseHour), end) << where;
            else
                EXPECT_EQ(all.count, 0) << where;
            EXPECT_TRUE(std::is_sorted(all.hours.begin(), end)) << where;
            if (latitudeDeg == 55.75) {
                EXPECT_LE(all.count, 1) << where;
            }
            twice += all.count > 1;
        }
    }
    EXPECT_GT(twice, 0) << "some polar day sees two moonrises";
}

} // namespace
} // namespace toravel
