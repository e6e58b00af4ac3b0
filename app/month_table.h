// The texts of the month window's table: one row per calendar day with its
// weekday, date, lunar days and their beginnings, the Moon's phases, the
// worlds and the circle, and which day is today at the place. No Qt: the
// window shows these texts in the report's colours, a print lays them out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "horoscope/month_calendar.h"

namespace toravel {

enum MonthColumn {
    WeekdayColumn,
    DateColumn,
    LunarDaysColumn,
    MoonColumn,
    DayWorldColumn,
    PeriodWorldsColumn,
    CircleColumn,
    MonthColumnCount,
};

// "День", "Дата", "Лунный день", "Луна", "Мир дня", "Мир периода", "Круг".
const std::array<std::string_view, MonthColumnCount>& MonthColumnTitles();

struct MonthTableRow {
    // The texts by MonthColumn: "пн"; "01.12"; "3 → 4 с 13:41"; "● новолуние
    // 05:21"; "Правь"; "Явь → Правь"; the circle. A beginning on another
    // clock than the day's noon (the day the clocks change) names it:
    // "с 02:04 UTC+2:00".
    std::array<std::string, MonthColumnCount> cells;
    // Every lunar day of the date with its worlds, each beginning with what
    // it is, in full: the row's tooltip.
    std::string details;
    bool weekend = false;
    bool today = false;
};

struct MonthTable {
    std::string title; // "Декабрь 2026"
    std::vector<MonthTableRow> rows;
    std::optional<std::size_t> todayRow;
    // "Сейчас 10.12.2026 14:05 по часам места — 20-й лунный день (Правь)",
    // when today is a day of the month; empty otherwise.
    std::string now;
};

// The moment now at the place: the reading of its clock in force, to the
// whole minute, with that clock's offset. `universalSecond` counts seconds of
// universal time from 30 December 1899 0h.
ClockMoment PlaceNow(const CalendarPlace& place, std::int64_t universalSecond);

// The system clock's universal time, in the same count.
std::int64_t UniversalSecondNow();

// The table of the month; `now` marks today's row and fills the "now" line.
MonthTable MakeMonthTable(const MonthCalendar& calendar, const std::optional<ClockMoment>& now);

// "Декабрь 2026".
std::string MonthTitle(const CalendarMonth& month);

// "Правь", "Явь", "Навь" for "b", "c", "h"; "—" for no world.
std::string_view WorldShortName(std::string_view world);

} // namespace toravel
