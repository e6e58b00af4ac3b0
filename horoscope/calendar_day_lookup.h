// The calendar day's record of the horoscope database, as the calculation
// command asks for it: the world letter (field Mir) and the circle (field
// Krug) of the first record whose month and day match. An interface, so that
// tests can stand in for the database.
#pragma once

#include <optional>
#include <string>

namespace toravel {

struct CalendarDayRecord {
    std::string Mir;  // world letter of the calendar day
    std::string Krug; // circle of the calendar day, as the report names it

    friend bool operator==(const CalendarDayRecord&, const CalendarDayRecord&) = default;
};

class CalendarDayLookup {
public:
    virtual ~CalendarDayLookup() = default;
    // month 1–12, day 1–31. Nothing when no record matches; a failure to
    // open or read the database is thrown.
    virtual std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) = 0;
};

} // namespace toravel
