// The calendar-day lookup of the calculation over the horoscope database's
// table t: the records are walked from the first, and the first whose Mont
// and Day texts are the month and day in decimal without leading zeros
// ("1" and "5" for 5 January, never "01" and "05") gives its Mir and Krug.
#pragma once

#include <functional>
#include <optional>

#include "horoscope/calendar_day_lookup.h"
#include "storage/database.h"

namespace toravel {

class TableCalendarDays final : public CalendarDayLookup {
public:
    // `table` opens the table if needed and returns its cursor; it throws
    // the data layer's error when it cannot.
    explicit TableCalendarDays(std::function<TableCursor&()> table);

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override;

private:
    std::function<TableCursor&()> table_;
};

} // namespace toravel
