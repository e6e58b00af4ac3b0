// A month's lunar calendar as the command line asks for it (--month ММ.ГГГГ):
// the month, and the place with its clock. The place is that of --city,
// --place or --lat and --lon; its clock a zone of the tz database
// (--zone-name, or the place's own: --auto-zone, which is also what is taken
// when no clock is named) or a fixed offset (--utc-offset). Every moment of
// the month is then told on the clock in force at it.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "command_line/birthplace_lookup.h"
#include "command_line/calculation_clock.h"
#include "command_line/command_error.h"
#include "command_line/command_options.h"
#include "lunar/calendar_month.h"
#include "lunar/calendar_place.h"

namespace toravel::command_line {

struct MonthRequest {
    CalendarMonth month;
    CalendarPlace place;
    // The place of the city list or the atlas, when it came from one.
    std::optional<Birthplace> birthplace;
    ClockSource clockSource = ClockSource::AutoZone; // AutoZone, ZoneName or UtcOffset
};

struct PreparedMonth {
    std::optional<MonthRequest> request;
    std::optional<CommandError> error; // a usage error, or a failure (no atlas)
};

// Checks the options (options.month is set) and looks the place up, naming
// an atlas place on `notes` (standard error).
PreparedMonth PrepareMonth(const CommandOptions& options, std::ostream& notes);

// "Москва, Россия (55,7522; 37,6156), Europe/Moscow": the place, its
// coordinates and its clock, for the month's title.
std::string MonthPlaceLine(const MonthRequest& request);

} // namespace toravel::command_line
