#include "horoscope/month_calendar.h"

#include <utility>

#include "horoscope/world_classification.h"

namespace toravel {
namespace {

LunarDayWorlds WorldsOf(std::int32_t lunarDay, const std::string& dayWorld) {
    LunarDayWorlds worlds;
    worlds.lunarDay = lunarDay;
    worlds.lunarWorld = WorldOfLunarDay(lunarDay);
    worlds.periodWorld = CombineWorlds(dayWorld, worlds.lunarWorld);
    return worlds;
}

} // namespace

MonthCalendar ComputeMonthCalendar(const CalendarPlace& place, const CalendarMonth& month,
                                   CalendarDayLookup& calendarDays) {
    LunarMonth lunar = ComputeLunarMonth(place, month);
    MonthCalendar calendar{std::move(lunar.place), lunar.month, {}};
    calendar.days.reserve(lunar.days.size());
    for (LunarMonthDay& lunarDay : lunar.days) {
        MonthCalendarDay day;
        day.lunar = std::move(lunarDay);
        int year, monthNumber, dayNumber, hour, minute, second, millisecond;
        DecodeDateTime(day.lunar.date, year, monthNumber, dayNumber, hour, minute, second,
                       millisecond);
        // The calculation command's lookup: an empty Mir counts as not found
        // for its message, while Krug is still used.
        if (const auto record = calendarDays.FindCalendarDay(monthNumber, dayNumber)) {
            day.dayWorld = record->Mir;
            day.circle = record->Krug;
        }
        day.recordFound = !day.dayWorld.empty();
        day.lunarDays.push_back(WorldsOf(day.lunar.lunarDayAtStart, day.dayWorld));
        for (const LunarDayBeginning& beginning : day.lunar.beginnings)
            day.lunarDays.push_back(WorldsOf(beginning.lunarDay, day.dayWorld));
        calendar.days.push_back(std::move(day));
    }
    return calendar;
}

} // namespace toravel
