#include "batch/stored_calendar_days.h"

namespace toravel::batch {

std::optional<CalendarDayRecord> StoredCalendarDays::FindCalendarDay(int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return database_.FindCalendarDay(month, day);
    auto& stored = days_[static_cast<std::size_t>(month)][static_cast<std::size_t>(day)];
    if (!stored)
        stored = database_.FindCalendarDay(month, day);
    return *stored;
}

} // namespace toravel::batch
