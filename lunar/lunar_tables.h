// Where the calculation command takes the birth year's new moons and the
// moonrise count from: the searches themselves, as the window runs them, or
// a front end's store of what the searches found for earlier births (the
// command line's batch mode), which must leave the calculation state as the
// searches would.
#pragma once

#include "lunar/lunar_calendar_view.h"

namespace toravel {

class LunarTables {
public:
    virtual ~LunarTables() = default;
    // As ComputeNewMoonsOfYear (lunar/new_moon_search.h).
    virtual void ComputeNewMoonsOfYear(int year) = 0;
    // As CountMoonrisesSinceNewMoon (lunar/moonrise_count.h).
    virtual void CountMoonrisesSinceNewMoon(LunarCalendarView& view) = 0;
};

// The searches themselves.
LunarTables& SearchedLunarTables();

} // namespace toravel
