// The calendar day's record of the horoscope database, as the calculation
// command asks for it: the world letter (field Mir) and the circle (field
// Krug) of the first record whose month and day match. An interface, so that
// tests can stand in for the database.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace toravel {

// What a lookup throws when it cannot read the calendar days at all (the
// database file missing, damaged or sealed with another key; the web page's
// calendar not loaded): the calculation ends with an error of its data,
// not of its astronomy.
class CalendarDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CalendarDayRecord {
    std::string Mir;  // world letter of the calendar day
    std::string Krug; // circle of the calendar day, as the report names it

    friend bool operator==(const CalendarDayRecord&, const CalendarDayRecord&) = default;
};

class CalendarDayLookup {
public:
    virtual ~CalendarDayLookup() = default;
    // month 1–12, day 1–31. Nothing when no record matches; a failure to
    // open or read the database is thrown as a CalendarDataError.
    virtual std::optional<CalendarDayRecord> FindCalendarDay(int month, int day) = 0;
};

} // namespace toravel
