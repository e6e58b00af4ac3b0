// A calculation as the command line asks for it: the window's inputs, the
// birthplace looked up in the city list or the world atlas, and the clock,
// each checked. Usage problems are found here, before anything is computed.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "command_line/birthplace_lookup.h"
#include "command_line/calculation_clock.h"
#include "command_line/command_error.h"
#include "command_line/command_options.h"
#include "platform/tdatetime.h"

namespace toravel::command_line {

struct CalculationRequest {
    TDateTime birthDate = 0.0; // the date picker's value (a whole day)
    TDateTime birthTime = 0.0; // the time picker's (its time of day)
    std::string latitude;      // the fields' texts
    std::string longitude;
    std::optional<std::string> placeText; // the place's name as the user wrote it
    // The place of the city list or the atlas the birthplace came from; none
    // for typed coordinates whose clock was named.
    std::optional<Birthplace> birthplace;
    CalculationClock clock;
    std::string lunarDay; // the lunar day field's text
    bool listing = false;
    bool female = false;

    // The birth moment on the birthplace's clock.
    TDateTime BirthLocal() const;
};

struct PreparedCalculation {
    std::optional<CalculationRequest> request;
    std::optional<CommandError> error; // a usage error, or a failure (no atlas)
};

// Checks the options and looks the birthplace up, naming an atlas place and
// the zone the birthplace's own clock took on `notes` (standard error). With
// no clock option, a place (or typed coordinates within 50 km of an atlas
// place) runs on its own zone; typed coordinates with no place near are a
// usage error, and those that are no point on the Earth are left to the
// calculation, which reports them (on the window's clock, --zone 0).
PreparedCalculation PrepareCalculation(const CommandOptions& options, std::ostream& notes);

} // namespace toravel::command_line
