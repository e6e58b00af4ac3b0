// The month's lunar calendar with its worlds: what the month window, the
// command line's --month and the PDF of a month show.
//
// Usage:
//
//     CalendarPlace place{55.75, 37.62, "Europe/Moscow"};      // or a fixed offset
//     const CalendarMonth month = ParseCalendarMonth("12.2026"); // or {2026, 12}
//     try {
//         const MonthCalendar calendar = ComputeMonthCalendar(place, month, database);
//         for (const MonthCalendarDay& day : calendar.days) {
//             // day.lunar.date, day.lunar.lunarDayAtStart, day.lunar.beginnings
//             // (lunar day, moment on the clock in force with its offset, new moon
//             // or moonrise), day.lunar.fullMoon, day.lunar.noMoonrise;
//             // day.dayWorld, day.circle; day.lunarDays: the worlds of the lunar
//             // day at 00:00 and of each beginning, in that order.
//         }
//     } catch (const LunarMonthError& e) {
//         // a month or place the calendar cannot be made for: show e.what()
//     }
//     // Database errors are thrown as by the calculation command.
//
// Moments are ClockMoments: the reading of the place's clock in force then,
// to the minute, and that clock's offset; IsoMomentText writes one as
// "2026-12-01T13:41:00+03:00", IsoDateText a day as "2026-12-01"
// (lunar/clock_moment.h). Which day is today is the caller's business. The lunar days, their
// beginnings and the tie rules are those of lunar/lunar_month.h; LunarDayInForceAt gives the lunar
// day of any moment of a day as the single calculation of a birth then would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "horoscope/calendar_day_lookup.h"
#include "lunar/calendar_month.h"
#include "lunar/calendar_place.h"
#include "lunar/lunar_month.h"
#include "lunar/lunar_month_error.h"

namespace toravel {

// One lunar day as a calendar day shows it, with its worlds as the report
// gives them for a moment in it.
struct LunarDayWorlds {
    std::int32_t lunarDay = 0;
    std::string lunarWorld;  // WorldOfLunarDay: "b", "c", "h" or empty
    std::string periodWorld; // CombineWorlds(day's world, lunar world)

    friend bool operator==(const LunarDayWorlds&, const LunarDayWorlds&) = default;
};

struct MonthCalendarDay {
    LunarMonthDay lunar;
    // The calendar day's record (fields Mir and Krug); empty texts and
    // recordFound false when the database has none for the date.
    bool recordFound = false;
    std::string dayWorld;
    std::string circle;
    // lunarDays[0] is the lunar day at 00:00; lunarDays[i + 1] that of
    // lunar.beginnings[i].
    std::vector<LunarDayWorlds> lunarDays;
};

struct MonthCalendar {
    CalendarPlace place;
    CalendarMonth month;
    std::vector<MonthCalendarDay> days;
};

// Throws LunarMonthError for a month or place the calendar cannot be made
// for, before the database is asked; the lookup's own errors pass through.
MonthCalendar ComputeMonthCalendar(const CalendarPlace& place, const CalendarMonth& month,
                                   CalendarDayLookup& calendarDays);

} // namespace toravel
