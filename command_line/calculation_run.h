// One calculation of the command line: the request put into a CommandView,
// the clock into the calculation state, the window's calculation command run
// on the given calendar days and lunar tables, and what it left: the state,
// the report area, the message boxes, the error that ended it, and warnings.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "command_line/calculation_request.h"
#include "command_line/command_error.h"
#include "command_line/command_view.h"
#include "horoscope/calendar_day_lookup.h"
#include "lunar/calculation_state.h"
#include "lunar/lunar_tables.h"

namespace toravel::command_line {

struct CalculationResult {
    int status = ExitDone;
    std::optional<CommandError> error;
    // This run wrote the new moons (with the birth moment and the preceding
    // new moon), and the moonrises.
    bool newMoonsComputed = false;
    bool moonrisesComputed = false;
    CalculationState state; // as the run left it
    CommandView view;       // the report area and the message boxes
    // Things the user should know that did not stop the calculation: a birth
    // moment the clocks skipped, a lunar day that has no world.
    std::vector<std::string> warnings;
};

// Runs the calculation. Message boxes are echoed to `messages` when it is
// given, as they come up. The lunar calendar's working texts are discarded.
CalculationResult RunCalculation(const CalculationRequest& request, CalendarDayLookup& calendarDays,
                                 LunarTables& tables, std::ostream* messages);

// A conversion error of the command in Russian: "«abc» — не число". Other
// texts are given as the window's error display shows them.
std::string RussianConversionMessage(const std::string& message);

} // namespace toravel::command_line
