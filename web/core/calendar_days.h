// The calendar days of the page: the answers of the horoscope database's
// lookup for every month and day, as the build wrote them from table t
// (calendar.json), kept in memory.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "horoscope/calendar_day_lookup.h"

namespace toravel::web {

class CalendarDays final : public CalendarDayLookup {
public:
    // The text of calendar.json: [{"month": 1, "day": 1, "world": "h",
    // "circle": "Первому"}, …]. The empty text when it was taken, otherwise
    // why not (the days loaded before stay).
    std::string Load(std::string_view json);

    bool Loaded() const { return loaded_; }

    std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) override;

private:
    // By month 1–12 and day 1–31.
    std::array<std::array<std::optional<CalendarDayRecord>, 32>, 13> days_;
    bool loaded_ = false;
};

} // namespace toravel::web
