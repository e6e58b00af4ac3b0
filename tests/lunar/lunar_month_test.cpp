// The lunar days of a month at a place: the phases against PyEphem, the
// moments on the clock in force, each shown once across clock changes, the
// days without moonrise, and the input the calendar refuses. Agreement with
// the single calculation is tested with the calculation command
// (tests/horoscope/month_calendar_test.cpp).
#include "lunar/lunar_month.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "lunar/lunar_month_error.h"
#include "lunar/moonrise_count.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

const CalendarPlace Moscow{55.7558, 37.6173, "Europe/Moscow"};
const CalendarPlace Berlin{52.52, 13.405, "Europe/Berlin"};

std::int64_t UniversalSecond(int year, int month, int day, int hour, int minute, int second) {
    return std::llround(EncodeDateTime(year, month, day, hour, minute, second) * 86400.0);
}

std::string Shown(const ClockMoment& m) {
    return DateTimeToStr(m.local) + " (" + std::to_string(m.offsetSeconds) + " s)";
}

// The months from `first` on, `count` of them, one after the other.
std::vector<LunarMonthDay> DaysOfMonths(const CalendarPlace& place, CalendarMonth first,
                                        int count) {
    std::vector<LunarMonthDay> days;
    for (int i = 0; i < count; ++i, first = NextCalendarMonth(first)) {
        LunarMonth month = ComputeLunarMonth(place, first);
        for (LunarMonthDay& day : month.days)
            days.push_back(std::move(day));
    }
    return days;
}

std::vector<const LunarDayBeginning*> NewMoons(const LunarMonth& month) {
    std::vector<const LunarDayBeginning*> found;
    for (const LunarMonthDay& day : month.days)
        for (const LunarDayBeginning& b : day.beginnings)
            if (b.kind == LunarDayBeginningKind::NewMoon)
                found.push_back(&b);
    return found;
}

// PyEphem 4.1.4: ephem.next_new_moon / next_full_moon, universal time. The
// calendar's minute lies within the search's half minute and the rounding
// of the reference.
TEST(LunarMonth, NewAndFullMoonsAgreeWithPyEphem) {
    const LunarMonth december = ComputeLunarMonth(Moscow, {2026, 12});
    const auto newMoons = NewMoons(december);
    ASSERT_EQ(newMoons.size(), 1u);
    EXPECT_NEAR(newMoons[0]->moment.UniversalSecond(), UniversalSecond(2026, 12, 9, 0, 51, 47), 90)
        << Shown(newMoons[0]->moment);
    EXPECT_EQ(newMoons[0]->moment.offsetSeconds, 3 * 3600);
    EXPECT_EQ(newMoons[0]->lunarDay, 1);

    const LunarMonthDay& fullMoonDay = december.days[23];
    ASSERT_TRUE(fullMoonDay.fullMoon.has_value());
    EXPECT_NEAR(fullMoonDay.fullMoon->UniversalSecond(), UniversalSecond(2026, 12, 24, 1, 28, 9),
                90);
    for (const LunarMonthDay& day : december.days)
        EXPECT_EQ(day.fullMoon.has_value(), day.date == fullMoonDay.date) << DateToStr(day.date);
}

TEST(LunarMonth, AMonthWithTwoNewMoons) {
    // PyEphem: 2027-08-02 10:05:08 and 2027-08-31 17:41:06 UT.
    const LunarMonth august = ComputeLunarMonth(Moscow, {2027, 8});
    const auto newMoons = NewMoons(august);
    ASSERT_EQ(newMoons.size(), 2u);
    EXPECT_NEAR(newMoons[0]->moment.UniversalSecond(), UniversalSecond(2027, 8, 2, 10, 5, 8), 90);
    EXPECT_NEAR(newMoons[1]->moment.UniversalSecond(), UniversalSecond(2027, 8, 31, 17, 41, 6), 90);
    // On both dates the Moon rises in the morning, before the new moon: that
    // moonrise still begins a lunar day of the old lunation.
    for (const int day : {1, 30}) {
        const auto& beginnings = august.days[static_cast<std::size_t>(day)].beginnings;
        ASSERT_EQ(beginnings.size(), 2u) << day;
        EXPECT_EQ(beginnings[0].kind, LunarDayBeginningKind::Moonrise);
        EXPECT_EQ(beginnings[1].kind, LunarDayBeginningKind::NewMoon);
        EXPECT_LT(beginnings[0].moment.local, beginnings[1].moment.local);
    }
    EXPECT_EQ(august.days[2].lunarDayAtStart, 1);
    EXPECT_EQ(august.days[2].beginnings.at(0).lunarDay, 2);
    // Between them the count runs through a whole lunation.
    EXPECT_EQ(august.days[30].beginnings[0].lunarDay, 29);
}

// Over a year and across the months and the year's end: each day starts
// with the lunar day in force at the end of the day before; each beginning
// lies on its own date, on the clock in force then, and either starts the
// count at a new moon or advances it by one.
TEST(LunarMonth, DaysFollowOneAnotherWithoutGapOrRepeat) {
    for (const CalendarPlace& place : {Berlin, Moscow}) {
        const auto days = DaysOfMonths(place, {2024, 1}, 13);
        std::int32_t previousEnd = -1;
        for (const LunarMonthDay& day : days) {
            SCOPED_TRACE(place.zoneName + " " + DateToStr(day.date));
            if (previousEnd != -1) {
                EXPECT_EQ(day.lunarDayAtStart, previousEnd);
            }
            std::int32_t lunarDay = day.lunarDayAtStart;
            std::int64_t last = std::numeric_limits<std::int64_t>::min();
            for (const LunarDayBeginning& b : day.beginnings) {
                EXPECT_EQ(DateOf(b.moment.local), day.date) << Shown(b.moment);
                const double minutes = TimeOf(b.moment.local) * 1440.0;
                EXPECT_NEAR(minutes, std::round(minutes), 1e-6) << Shown(b.moment);
                EXPECT_GT(b.moment.UniversalSecond(), last);
                last = b.moment.UniversalSecond();
                EXPECT_EQ(b.lunarDay, b.kind == LunarDayBeginningKind::NewMoon ? 1 : lunarDay + 1);
                lunarDay = b.lunarDay;
            }
            EXPECT_GE(lunarDay, 1);
            EXPECT_LE(lunarDay, 30);
            previousEnd = lunarDay;
        }
    }
}

// Every moonrise of a year at a place that changes its clock twice a year,
// against the same place on one clock all year: the same events, none lost
// or doubled by the hour the clock skips or repeats.
std::vector<std::int64_t> Moonrises(const std::vector<LunarMonthDay>& days) {
    std::vector<std::int64_t> rises;
    for (const LunarMonthDay& day : days) {
        if (day.moonriseAtNewMoon)
            rises.push_back(day.moonriseAtNewMoon->UniversalSecond());
        for (const LunarDayBeginning& b : day.beginnings)
            if (b.kind == LunarDayBeginningKind::Moonrise)
                rises.push_back(b.moment.UniversalSecond());
        EXPECT_EQ(day.noMoonrise, !day.moonriseAtNewMoon &&
                                      (day.beginnings.empty() ||
                                       (day.beginnings.size() == 1 &&
                                        day.beginnings[0].kind == LunarDayBeginningKind::NewMoon)))
            << DateToStr(day.date);
    }
    return rises;
}

TEST(LunarMonth, AClockChangeNeitherLosesNorDoublesAMoonrise) {
    const struct {
        CalendarPlace zone;
        int fixedOffset;
        CalendarMonth first;
    } cases[] = {
        // 2024: moonrises at 01:12 CET on 31.03, just before the clocks went
        // forward, and at 02:04 CEST on 27.10, in the hour passed twice.
        {Berlin, 3600, {2024, 1}},
        // Moscow went from UTC+4 to UTC+3 on 26.10.2014.
        {Moscow, 4 * 3600, {2014, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone.zoneName);
        CalendarPlace fixed = c.zone;
        fixed.zoneName.clear();
        fixed.fixedOffsetSeconds = c.fixedOffset;
        const auto zoneRises = Moonrises(DaysOfMonths(c.zone, c.first, 12));
        const auto fixedRises = Moonrises(DaysOfMonths(fixed, c.first, 12));
        ASSERT_EQ(zoneRises.size(), fixedRises.size());
        for (std::size_t i = 0; i < zoneRises.size(); ++i)
            EXPECT_NEAR(zoneRises[i], fixedRises[i], 60) << i;
    }
}

TEST(LunarMonth, TheDayAClockJumpsShowsEachMomentOnTheClockThenInForce) {
    const LunarMonth october = ComputeLunarMonth(Berlin, {2024, 10});
    const LunarMonthDay& changeDay = october.days[26]; // 27.10.2024
    ASSERT_EQ(changeDay.beginnings.size(), 1u);
    const ClockMoment rise = changeDay.beginnings[0].moment;
    // 02:04 on the summer clock: 00:04 UT, before the change at 01:00 UT.
    EXPECT_EQ(rise.offsetSeconds, 7200) << Shown(rise);
    EXPECT_EQ(DateTimeToStr(rise.local), "27.10.2024 2:04:00");
    EXPECT_LT(rise.UniversalSecond(), UniversalSecond(2024, 10, 27, 1, 0, 0));
    EXPECT_EQ(changeDay.noonOffsetSeconds, 3600);
    EXPECT_EQ(october.days[28].beginnings[0].moment.offsetSeconds, 3600);

    const LunarMonth march = ComputeLunarMonth(Berlin, {2024, 3});
    const LunarMonthDay& springDay = march.days[30]; // 31.03.2024, 02:00 → 03:00
    ASSERT_EQ(springDay.beginnings.size(), 1u);
    EXPECT_EQ(springDay.beginnings[0].moment.offsetSeconds, 3600);
    EXPECT_EQ(DateTimeToStr(springDay.beginnings[0].moment.local), "31.03.2024 1:12:00");
    EXPECT_EQ(springDay.noonOffsetSeconds, 7200);
}

TEST(LunarMonth, HalfHourZonesShowTheirOwnClock) {
    // PyEphem: new moon 2026-01-18 19:51:55 UT, which is 01:22 of 19.01 in
    // India (UTC+5:30).
    const LunarMonth january = ComputeLunarMonth({28.6139, 77.209, "Asia/Kolkata"}, {2026, 1});
    const auto newMoons = NewMoons(january);
    ASSERT_EQ(newMoons.size(), 1u);
    EXPECT_EQ(DateTimeToStr(newMoons[0]->moment.local), "19.01.2026 1:22:00");
    EXPECT_EQ(newMoons[0]->moment.offsetSeconds, 19800);
    for (const LunarMonthDay& day : january.days) {
        EXPECT_EQ(day.noonOffsetSeconds, 19800);
        for (const LunarDayBeginning& b : day.beginnings)
            EXPECT_EQ(b.moment.offsetSeconds, 19800);
    }
}

TEST(LunarMonth, AZoneOnOneOffsetGivesWhatThatFixedOffsetGives) {
    CalendarPlace fixed = Moscow;
    fixed.zoneName.clear();
    fixed.fixedOffsetSeconds = 3 * 3600;
    for (int m = 1; m <= 12; m += 5) {
        const LunarMonth zone = ComputeLunarMonth(Moscow, {2026, m});
        const LunarMonth plain = ComputeLunarMonth(fixed, {2026, m});
        ASSERT_EQ(zone.days.size(), plain.days.size());
        for (std::size_t i = 0; i < zone.days.size(); ++i) {
            EXPECT_EQ(zone.days[i].lunarDayAtStart, plain.days[i].lunarDayAtStart);
            EXPECT_EQ(zone.days[i].beginnings, plain.days[i].beginnings);
            EXPECT_EQ(zone.days[i].fullMoon, plain.days[i].fullMoon);
            EXPECT_EQ(zone.days[i].noMoonrise, plain.days[i].noMoonrise);
        }
    }
}

// At 78° N the Moon stays up or down for days; those days have no moonrise,
// and no beginning but a new moon, and the count goes on.
TEST(LunarMonth, PolarDaysWithoutMoonrise) {
    const LunarMonth december =
        ComputeLunarMonth({78.2232, 15.6267, "Arctic/Longyearbyen"}, {2026, 12});
    ASSERT_EQ(december.days.size(), 31u);
    int withoutMoonrise = 0;
    for (const LunarMonthDay& day : december.days) {
        if (!day.noMoonrise)
            continue;
        ++withoutMoonrise;
        for (const LunarDayBeginning& b : day.beginnings)
            EXPECT_EQ(b.kind, LunarDayBeginningKind::NewMoon) << DateToStr(day.date);
    }
    EXPECT_GE(withoutMoonrise, 10);
    EXPECT_LT(withoutMoonrise, 31);
}

// A date on which the Moon rises twice: the count keeps the moonrise the
// calculation's search keeps, and the other is listed apart, beginning no
// lunar day (before, it was dropped without a word). Rises against Swiss
// Ephemeris: Tromsø 00:23:53 and 23:38:07, Norilsk 01:19:57 and 23:23:25.
TEST(LunarMonth, ASecondMoonriseOnOneDateIsListedApart) {
    const struct {
        const char* name;
        double latitude, longitude;
        const char* zone;
        int year, month, day;
        const char* counted; // the moonrise that begins a lunar day
        int lunarDay;        // the lunar day it begins
        const char* other;
    } rows[] = {
        {"Tromsø", 69.6492, 18.9553, "Europe/Oslo", 2026, 6, 11, "11.06.2026 0:24:00 (7200 s)", 14,
         "11.06.2026 23:38:00 (7200 s)"},
        {"Norilsk", 69.3535, 88.2027, "Asia/Krasnoyarsk", 2024, 6, 4,
         "04.06.2024 23:23:00 (25200 s)", 15, "04.06.2024 1:20:00 (25200 s)"},
    };
    for (const auto& row : rows) {
        const LunarMonth month =
            ComputeLunarMonth({row.latitude, row.longitude, row.zone}, {row.year, row.month});
        const LunarMonthDay& day = month.days[static_cast<std::size_t>(row.day - 1)];
        ASSERT_EQ(day.beginnings.size(), 1u) << row.name;
        EXPECT_EQ(Shown(day.beginnings[0].moment), row.counted) << row.name;
        EXPECT_EQ(day.beginnings[0].lunarDay, row.lunarDay) << row.name;
        ASSERT_EQ(day.otherMoonrises.size(), 1u) << row.name;
        EXPECT_EQ(Shown(day.otherMoonrises[0]), row.other) << row.name;
        // The next day begins with the lunar day the counted moonrise began.
        EXPECT_EQ(month.days[static_cast<std::size_t>(row.day)].lunarDayAtStart, row.lunarDay)
            << row.name;
    }
    // South of the polar circle a date never sees two moonrises.
    for (const LunarMonthDay& day : DaysOfMonths(Moscow, {2026, 1}, 12))
        EXPECT_TRUE(day.otherMoonrises.empty()) << DateToStr(day.date);
}

TEST(LunarMonth, TheFirstAndLastYearsAreComputed) {
    for (const CalendarMonth month :
         {CalendarMonth{2, 1}, CalendarMonth{9998, 12}, CalendarMonth{1582, 10}}) {
        const LunarMonth result = ComputeLunarMonth(Moscow, month);
        ASSERT_FALSE(result.days.empty());
        EXPECT_GE(result.days.front().lunarDayAtStart, 1) << CalendarMonthText(month);
    }
    // The ten dates the Gregorian reform skipped do not exist.
    EXPECT_EQ(ComputeLunarMonth(Moscow, {1582, 10}).days.size(), 21u);
}

std::string RefusalOf(const CalendarPlace& place, CalendarMonth month) {
    try {
        ComputeLunarMonth(place, month);
    } catch (const LunarMonthError& e) {
        return e.what();
    }
    return "(taken)";
}

TEST(LunarMonth, RefusesMonthsAndPlacesItCannotBeMadeFor) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(RefusalOf(Moscow, {2026, 13}).find("от 01 до 12"), std::string::npos);
    EXPECT_NE(RefusalOf(Moscow, {2026, 0}).find("от 01 до 12"), std::string::npos);
    EXPECT_NE(RefusalOf(Moscow, {1, 12}).find("от 2 до 9998"), std::string::npos);
    EXPECT_NE(RefusalOf(Moscow, {9999, 1}).find("от 2 до 9998"), std::string::npos);
    EXPECT_EQ(RefusalOf({90.5, 0, "Europe/Moscow"}, {2026, 1}), InvalidBirthplaceMessage);
    EXPECT_EQ(RefusalOf({0, -180.5, "Europe/Moscow"}, {2026, 1}), InvalidBirthplaceMessage);
    EXPECT_EQ(RefusalOf({nan, 0, "Europe/Moscow"}, {2026, 1}), InvalidBirthplaceMessage);
    EXPECT_EQ(RefusalOf({0, 0, "Europe/Atlantis"}, {2026, 1}),
              "часовой пояс «Europe/Atlantis» неизвестен");
    EXPECT_EQ(RefusalOf({0, 0, "Европа/Москва"}, {2026, 1}), "часовой пояс места неизвестен");
    EXPECT_NE(RefusalOf({0, 0, "", 19 * 3600}, {2026, 1}).find("от −18 до +18"), std::string::npos);
    EXPECT_EQ(RefusalOf({0, 0, "", -18 * 3600}, {2026, 1}), "(taken)");
    EXPECT_EQ(RefusalOf({90, 180, "Etc/GMT-14"}, {2026, 1}), "(taken)");
}

} // namespace
} // namespace toravel

namespace toravel {
namespace {

TEST(ClockMoment, IsoTextsNameTheReadingAndItsOffset) {
    EXPECT_EQ(IsoMomentText({EncodeDateTime(2026, 12, 1, 13, 41), 3 * 3600}),
              "2026-12-01T13:41:00+03:00");
    EXPECT_EQ(IsoMomentText({EncodeDateTime(2026, 1, 19, 1, 22), 19800}),
              "2026-01-19T01:22:00+05:30");
    EXPECT_EQ(IsoMomentText({EncodeDateTime(2, 1, 1), -3 * 3600}), "0002-01-01T00:00:00-03:00");
    EXPECT_EQ(IsoMomentText({EncodeDateTime(1879, 6, 1, 12, 0), 9017}),
              "1879-06-01T12:00:00+02:30:17");
    EXPECT_EQ(IsoDateText(EncodeDateTime(9998, 12, 31)), "9998-12-31");
    // 01:30 twice on 26.10.2014 in Moscow: two moments, an hour apart.
    const TDateTime repeated = EncodeDateTime(2014, 10, 26, 1, 30);
    EXPECT_EQ(ClockMoment({repeated, 10800}).UniversalSecond() -
                  ClockMoment({repeated, 14400}).UniversalSecond(),
              3600);
}

} // namespace
} // namespace toravel
