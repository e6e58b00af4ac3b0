// The texts of a month's lunar calendar as a table shows them: one row per
// calendar day with its weekday and date, the lunar day at 00:00 and each one
// that begins that day with its time, the full moon, the calendar day's world,
// the period's world of each lunar day of the day, and the circle. The
// command line prints the rows, the PDF and the window lay them out.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "horoscope/month_calendar.h"
#include "platform/tdatetime.h"

namespace toravel {

enum MonthTableColumn {
    MonthDayColumn,       // "вт 01.12"
    MonthLunarDaysColumn, // "29; 1 с 03:52, новолуние; 2 с 09:54", "22; восхода нет"
    MonthMoonColumn,         // "полнолуние 04:28", "второй восход 23:38"
    MonthDayWorldColumn,     // "Явь"
    MonthPeriodWorldsColumn, // "Явь → Навь": at 00:00, then after each beginning
    MonthCircleColumn,       // "третий"
    MonthTableColumnCount,
};

using MonthTableCells = std::array<std::string, MonthTableColumnCount>;

// "Дата", "Лунные дни", "Луна", "Мир дня", "Миры периода", "Круг".
const MonthTableCells& MonthTableTitles();

// A time is "13:41", followed by its clock's offset ("13:41 (+02:00)") where
// that is not the offset of the day's noon: on the day the clocks change.
MonthTableCells MonthTableRow(const MonthCalendarDay& day);

// "Лунный календарь: декабрь 2026".
std::string MonthCalendarTitle(const CalendarMonth& month);

// One line under the title that reads the lunar days' cells: the lunar day
// at the day's start, then each one that begins with its time.
std::string MonthTableLegend();

// "Правь", "Явь", "Навь" for "b", "c", "h"; "—" for no world.
std::string_view WorldShortName(std::string_view letter);

// The ISO weekday of a date: 1 Monday … 7 Sunday.
int IsoWeekday(TDateTime date);

} // namespace toravel
