#include "app/table_calendar_days.h"

#include <string>
#include <utility>

#include "storage/horoscope_database.h"

namespace toravel {

TableCalendarDays::TableCalendarDays(std::function<TableCursor&()> table)
    : table_(std::move(table)) {}

std::optional<CalendarDayRecord> TableCalendarDays::FindCalendarDay(int month, int day) {
    return FindCalendarDayInTable(table_(), month, day);
}

} // namespace toravel
