// The month's calendar against the single calculation, and its worlds.
//
// Agreement: for a day of the calendar, a birth at a moment of that day run
// through the calculation command on the birthplace's own clock then (the
// clock --auto-zone runs on, put into the spin box with the computer at
// Greenwich), gives the lunar day the calendar shows in force at that moment.
#include "horoscope/month_calendar.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "horoscope/calculation_command.h"
#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"
#include "place/birthplace_zone_hint.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"
#include "tests/horoscope/fake_view.h"
#include "tests/lunar/calculation_state_fixture.h"

namespace toravel {
namespace {

class FakeCalendarDays : public CalendarDayLookup {
public:
    std::map<std::pair<int, int>, CalendarDayRecord> records;
    CalendarDayRecord everyOtherDay{"c", "Первому"};
    int asked = 0;
    bool fail = false;

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override {
        ++asked;
        if (fail)
            throw std::runtime_error("database is locked");
        const auto found = records.find({month, day});
        if (found != records.end())
            return found->second;
        if (everyOtherDay.Mir.empty() && everyOtherDay.Krug.empty())
            return std::nullopt;
        return everyOtherDay;
    }
};

// A place as the window's fields hold it; the calendar takes the same
// numbers, read from the same texts.
struct Place {
    const char* name;
    const char* latitude;
    const char* longitude;
    const char* zone;

    CalendarPlace ForCalendar() const {
        return {StrToFloat(latitude), StrToFloat(longitude), zone};
    }
};

const Place Murmansk{"Мурманск", "68,9585", "33,0827", "Europe/Moscow"};
const Place Berlin{"Берлин", "52,52", "13,405", "Europe/Berlin"};
const Place Novosibirsk{"Новосибирск", "55,0280", "82,9242", "Asia/Novosibirsk"};
const Place Moscow{"Москва", "55,7558", "37,6173", "Europe/Moscow"};

class MonthCalendarTest : public testing::CalculationStateTest {
protected:
    // The lunar day of a birth at the local moment by the calculation
    // command; offsetSeconds receives the birthplace's offset then.
    int Calculated(const Place& place, TDateTime local, int& offsetSeconds,
                   int computerOffsetSeconds = 0) {
        const BirthplaceZoneHint hint =
            MakeBirthplaceZoneHint(place.zone, local, computerOffsetSeconds);
        EXPECT_TRUE(hint.canApply) << hint.text;
        offsetSeconds = hint.offset->offsetSeconds;
        testing::FakeView view;
        view.latitude = place.latitude;
        view.longitude = place.longitude;
        view.zoneHours = std::to_string(*hint.spinValue);
        view.birthDate = DateOf(local);
        view.birthTime = TimeOf(local);
        SharedCalculationState() = CalculationState{};
        SharedCalculationState().ComputerZoneOffset = computerOffsetSeconds / 86400.0;
        FakeCalendarDays days;
        RunCalculationCommand(view, days);
        return SharedCalculationState().LunarDay;
    }

    // Every day of the months at the given hours of local time.
    void ExpectAgreement(const Place& place, CalendarMonth first, int months,
                         const std::vector<double>& hours, int computerOffsetSeconds = 0) {
        for (int m = 0; m < months; ++m, first = NextCalendarMonth(first)) {
            FakeCalendarDays days;
            const MonthCalendar calendar = ComputeMonthCalendar(place.ForCalendar(), first, days);
            for (const MonthCalendarDay& day : calendar.days) {
                for (const double hour : hours) {
                    const TDateTime local = day.lunar.date + hour / 24.0;
                    int offset = 0;
                    const int calculated = Calculated(place, local, offset, computerOffsetSeconds);
                    const int shown = LunarDayInForceAt(day.lunar, {local, offset});
                    ASSERT_EQ(shown, calculated) << place.name << " " << DateTimeToStr(local)
                                                 << " (UTC" << UtcOffsetText(offset) << ")";
                }
            }
        }
    }
};

// A polar place, one that keeps summer time and one far east, all year.
TEST_F(MonthCalendarTest, EveryDayOfAYearAgreesWithTheCalculationAtNoon) {
    for (const Place& place : {Murmansk, Berlin, Novosibirsk})
        ExpectAgreement(place, {2026, 1}, 12, {12.0});
}

// The minute of each beginning and the minute before it: a new moon and the
// first moonrise on its date are in force at their own minute, a later
// moonrise only from the minute after.
TEST_F(MonthCalendarTest, EachBeginningsMinuteAgrees) {
    int sameMinuteRises = 0;
    for (const Place& place : {Murmansk, Moscow}) {
        for (CalendarMonth month{2026, 1}; month.year == 2026; month = NextCalendarMonth(month)) {
            FakeCalendarDays days;
            const MonthCalendar calendar = ComputeMonthCalendar(place.ForCalendar(), month, days);
            for (const MonthCalendarDay& day : calendar.days) {
                for (const LunarDayBeginning& b : day.lunar.beginnings) {
                    for (const double minutesBefore : {0.0, 1.0}) {
                        const TDateTime local = b.moment.local - minutesBefore / 1440.0;
                        int offset = 0;
                        const int calculated = Calculated(place, local, offset);
                        ASSERT_EQ(LunarDayInForceAt(day.lunar, {local, offset}), calculated)
                            << place.name << " " << DateTimeToStr(local)
                            << ", beginning of lunar day " << b.lunarDay;
                    }
                    if (b.kind == LunarDayBeginningKind::Moonrise && b.inForceAtItsMinute)
                        ++sameMinuteRises;
                }
            }
        }
    }
    EXPECT_GE(sameMinuteRises, 3);
}

// The months of a clock change, at every hour: those the change skips or
// repeats are read by both with the offset before it. In 2024 a moonrise
// falls at 01:12 just before Berlin's clocks went forward and at 02:04 in the
// hour they passed twice; Moscow went from UTC+4 to UTC+3 on 26.10.2014.
TEST_F(MonthCalendarTest, MonthsOfAClockChangeAgreeAtEveryHour) {
    std::vector<double> everyHour;
    for (int hour = 0; hour < 24; ++hour)
        everyHour.push_back(hour + 0.5);
    const struct {
        Place place;
        int year, month, changeDay;
    } changes[] = {{Berlin, 2024, 3, 31}, {Berlin, 2024, 10, 27}, {Moscow, 2014, 10, 26}};
    for (const auto& c : changes) {
        ExpectAgreement(c.place, {c.year, c.month}, 1, {0.0, 12.0});
        FakeCalendarDays days;
        const MonthCalendar calendar =
            ComputeMonthCalendar(c.place.ForCalendar(), {c.year, c.month}, days);
        for (int date = c.changeDay - 1; date <= c.changeDay + 1; ++date) {
            if (date > static_cast<int>(calendar.days.size()))
                continue;
            const LunarMonthDay& day = calendar.days[static_cast<std::size_t>(date - 1)].lunar;
            for (const double hour : everyHour) {
                const TDateTime local = day.date + hour / 24.0;
                int offset = 0;
                const int calculated = Calculated(c.place, local, offset);
                ASSERT_EQ(LunarDayInForceAt(day, {local, offset}), calculated)
                    << c.place.name << " " << DateTimeToStr(local);
            }
        }
    }
}

// New moons on 2 and 31 August 2027; every quarter hour around both.
TEST_F(MonthCalendarTest, AMonthWithTwoNewMoonsAgrees) {
    std::vector<double> quarters;
    for (int quarter = 0; quarter < 96; ++quarter)
        quarters.push_back(quarter / 4.0);
    FakeCalendarDays days;
    const MonthCalendar august = ComputeMonthCalendar(Moscow.ForCalendar(), {2027, 8}, days);
    int newMoons = 0;
    for (const MonthCalendarDay& day : august.days)
        for (const LunarDayBeginning& b : day.lunar.beginnings)
            newMoons += b.kind == LunarDayBeginningKind::NewMoon ? 1 : 0;
    ASSERT_EQ(newMoons, 2);
    ExpectAgreement(Moscow, {2027, 8}, 1, {0.0, 12.0});
    for (const int date : {2, 31}) {
        const MonthCalendarDay& day = august.days[static_cast<std::size_t>(date - 1)];
        for (const double hour : quarters) {
            int offset = 0;
            const TDateTime local = day.lunar.date + hour / 24.0;
            ASSERT_EQ(LunarDayInForceAt(day.lunar, {local, 3 * 3600}),
                      Calculated(Moscow, local, offset))
                << DateTimeToStr(local);
        }
    }
}

// India keeps UTC+5:30; the spin box holds whole hours, so the computer's
// own offset makes up the half hour, as on a computer in such a zone.
TEST_F(MonthCalendarTest, AHalfHourZoneAgrees) {
    const Place delhi{"Дели", "28,6139", "77,209", "Asia/Kolkata"};
    ExpectAgreement(delhi, {2026, 1}, 2, {0.0, 12.0}, 1800);
}

// At 78° N the Moon stays up or down for days in December.
TEST_F(MonthCalendarTest, APlaceAt78NorthAgrees) {
    const Place longyearbyen{"Лонгйир", "78,2232", "15,6267", "Arctic/Longyearbyen"};
    ExpectAgreement(longyearbyen, {2026, 12}, 1, {0.0, 12.0});
}

// Tromsø sees the Moon rise twice on 11.06.2026 (00:24 and 23:38): the
// calendar counts the moonrise the calculation counts, at every hour and
// in the minutes around the second rise.
TEST_F(MonthCalendarTest, ADateWithTwoMoonrisesAgrees) {
    const Place tromso{"Тромсё", "69,6492", "18,9553", "Europe/Oslo"};
    ExpectAgreement(tromso, {2026, 6}, 1, {0.0, 12.0, 23.0 + 37 / 60.0, 23.0 + 39 / 60.0});
}

TEST_F(MonthCalendarTest, WorldsComeFromTheDatabaseAndTheLunarDayTable) {
    FakeCalendarDays days;
    days.everyOtherDay = {"h", "Третьему"};
    days.records[{12, 9}] = {"b", "Второму"};
    const MonthCalendar december = ComputeMonthCalendar(Moscow.ForCalendar(), {2026, 12}, days);
    ASSERT_EQ(december.days.size(), 31u);
    EXPECT_EQ(days.asked, 31);

    // 09.12.2026 at Moscow: lunar day 29 at 00:00 ("b"), the new moon at
    // 03:52 (lunar day 1, "c"), the moonrise at 09:54 (lunar day 2, "b");
    // on an Upper day: Upper, Middle, Upper.
    const MonthCalendarDay& newMoonDay = december.days[8];
    EXPECT_TRUE(newMoonDay.recordFound);
    EXPECT_EQ(newMoonDay.dayWorld, "b");
    EXPECT_EQ(newMoonDay.circle, "Второму");
    ASSERT_EQ(newMoonDay.lunar.beginnings.size(), 2u);
    EXPECT_EQ(newMoonDay.lunarDays,
              (std::vector<LunarDayWorlds>{{29, "b", "b"}, {1, "c", "c"}, {2, "b", "b"}}));

    // On the Lower days: lunar day 5 ("h") gives Lower, 2 ("b") Upper,
    // 1 and 30 ("c") Lower, 21 ("b") Upper.
    const std::map<int, std::string> lowerDayPeriods{
        {1, "h"}, {2, "b"}, {5, "h"}, {21, "b"}, {30, "h"}};
    int checked = 0;
    for (const MonthCalendarDay& day : december.days) {
        EXPECT_EQ(day.lunarDays.size(), day.lunar.beginnings.size() + 1);
        if (day.dayWorld != "h")
            continue;
        for (const LunarDayWorlds& worlds : day.lunarDays) {
            const auto expected = lowerDayPeriods.find(worlds.lunarDay);
            if (expected == lowerDayPeriods.end())
                continue;
            EXPECT_EQ(worlds.periodWorld, expected->second) << worlds.lunarDay;
            ++checked;
        }
    }
    EXPECT_GE(checked, 4);
}

TEST_F(MonthCalendarTest, ADayMissingFromTheDatabaseHasNoWorldButItsLunarDays) {
    FakeCalendarDays days;
    days.everyOtherDay = {};
    days.records[{2, 28}] = {"", "Четвертому"}; // an empty Mir counts as not found
    const MonthCalendar february = ComputeMonthCalendar(Moscow.ForCalendar(), {2026, 2}, days);
    for (const MonthCalendarDay& day : february.days) {
        EXPECT_FALSE(day.recordFound);
        EXPECT_TRUE(day.dayWorld.empty());
        for (const LunarDayWorlds& worlds : day.lunarDays) {
            EXPECT_GE(worlds.lunarDay, 1);
            EXPECT_FALSE(worlds.lunarWorld.empty());
            EXPECT_TRUE(worlds.periodWorld.empty());
        }
    }
    EXPECT_EQ(february.days.back().circle, "Четвертому");
}

TEST_F(MonthCalendarTest, ABadMonthIsRefusedBeforeTheDatabaseIsAsked) {
    FakeCalendarDays days;
    EXPECT_THROW(ComputeMonthCalendar(Moscow.ForCalendar(), {2026, 13}, days), LunarMonthError);
    EXPECT_THROW(ComputeMonthCalendar(Moscow.ForCalendar(), {9999, 1}, days), LunarMonthError);
    EXPECT_THROW(ComputeMonthCalendar({91.0, 0.0, "Europe/Moscow"}, {2026, 1}, days),
                 LunarMonthError);
    EXPECT_EQ(days.asked, 0);

    days.fail = true;
    EXPECT_THROW(ComputeMonthCalendar(Moscow.ForCalendar(), {2026, 1}, days), std::runtime_error);
}

} // namespace
} // namespace toravel
