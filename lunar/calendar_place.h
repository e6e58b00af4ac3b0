// The place a month's lunar calendar is made for: where on the Earth, and
// which civil clock its days and moments are told on.
//
// The clock is an IANA time-zone name ("Europe/Moscow", "Asia/Kolkata"),
// whose offsets and clock changes the system's tz database gives moment by
// moment, or, without a name, a fixed offset from Greenwich.
#pragma once

#include <string>

namespace toravel {

struct CalendarPlace {
    double latitudeDegrees = 0.0;  // positive north, −90 … 90
    double longitudeDegrees = 0.0; // positive east, −180 … 180
    std::string zoneName;          // IANA name; blank: the fixed offset below
    int fixedOffsetSeconds = 0;    // local minus Greenwich, positive east; ±18 h at most
};

// The largest fixed offset taken: the tz database's offsets stay within it.
inline constexpr int LargestFixedOffsetSeconds = 18 * 3600;

// Whether the place names a zone (a name that is not blank).
bool HasZoneName(const CalendarPlace& place);

// Throws LunarMonthError with a Russian message for coordinates that are no
// place on the Earth (NaN included), a zone name the tz database does not
// know, or a fixed offset beyond ±18 hours.
void CheckCalendarPlace(const CalendarPlace& place);

} // namespace toravel
