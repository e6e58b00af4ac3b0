// The month window's table: the texts of each day as the command line and
// the printed page give them (horoscope/month_calendar_text.h), with what
// the window adds: each day's lunar days and beginnings in full for the
// selected day, weekends, and which day is today at the place, with the
// lunar day in force now. No Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "horoscope/month_calendar.h"
#include "horoscope/month_calendar_text.h"

namespace toravel {

struct MonthWindowRow {
    // By MonthTableColumn: "вт 01.12"; "29; 1 с 03:52, новолуние; 2 с
    // 09:54"; "полнолуние 04:28"; "Явь"; "Явь → Навь"; "третий".
    MonthTableCells cells;
    // Every lunar day of the date with its worlds, each beginning with what
    // it is, in full.
    std::string details;
    bool weekend = false;
    bool today = false;
};

struct MonthTable {
    std::string title; // "Декабрь 2026"
    std::vector<MonthWindowRow> rows;
    std::optional<std::size_t> todayRow;
    // "Сейчас 10.12.2026 14:05 по часам места — 20-й лунный день, мир
    // периода Правь", when today is a day of the month; empty otherwise.
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

// "Декабрь 2026", as the window names the month it shows.
std::string MonthTitle(const CalendarMonth& month);

} // namespace toravel
