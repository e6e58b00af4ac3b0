// A year of the month calendar's beginnings at a place against the
// reference (reference_moon.h): new moons, moonrises and full moons, each
// shown moment (the whole minute on the place's clock) less the reference
// moment; a date's second moonrise, which begins no lunar day, apart, with
// the dates that have two; and the days on which one side has a moonrise and
// the other none.
#pragma once

#include <string>

#include "lunar/calendar_place.h"
#include "tools/reference_moon/reference_moon.h"

namespace toravel::tools {

// Prints one line per kind of moment, and the days whose moonrise differs.
void CompareYearOfBeginnings(const std::string& name, const CalendarPlace& place, int year,
                             const ReferenceMoon& reference);

} // namespace toravel::tools
