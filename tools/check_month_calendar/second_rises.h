// The dates on which the Moon rises twice at a place, as the month calendar
// lists them (the moonrise that begins a lunar day and `otherMoonrises`)
// and as the reference has them (two rises in the local day), over a span
// of years; each rise of ours with its difference from the nearest
// reference rise.
#pragma once

#include <string>

#include "lunar/calendar_place.h"
#include "tools/reference_moon/reference_moon.h"

namespace toravel::tools {

// Prints one line per date that either side has two moonrises on; returns
// the number of dates on which the two sides differ.
long ListSecondMoonrises(const std::string& name, const CalendarPlace& place, int firstYear,
                         int lastYear, const ReferenceMoon& reference);

} // namespace toravel::tools
