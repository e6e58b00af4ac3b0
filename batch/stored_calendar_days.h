// The calendar days of the horoscope database kept between the births of a
// batch: each month and day is looked up once (a walk over table t, some
// 35 µs) and answered from memory after. Errors are not kept: a failed
// lookup is tried again by the next birth.
#pragma once

#include <array>
#include <optional>

#include "horoscope/calendar_day_lookup.h"

namespace toravel::batch {

class StoredCalendarDays final : public CalendarDayLookup {
public:
    explicit StoredCalendarDays(CalendarDayLookup& database) : database_(database) {}

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override;

private:
    CalendarDayLookup& database_;
    // By month 1–12 and day 1–31; the outer optional says whether it was asked.
    std::array<std::array<std::optional<std::optional<CalendarDayRecord>>, 32>, 13> days_;
};

} // namespace toravel::batch
