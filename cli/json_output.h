// The calculation's outcome as one JSON object: the lunar day, the worlds,
// the circle, the clock offset, the new moons and moonrises used, the report
// lines and the message-box texts.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/cli_view.h"
#include "lunar/calculation_state.h"

namespace toravel::cli {

// "dd.mm.yyyy hh:mm", or "dd.mm.yyyy" alone when dateOnlyAtMidnight is set and
// the value is at exactly midnight.
std::string MinuteText(TDateTime t, bool dateOnlyAtMidnight);

// Which of the state's tables this run wrote: the new moons (with the birth
// moment and the preceding new moon) and the moonrises. The others are left
// out (null or empty arrays).
struct ComputedTables {
    bool newMoons = false;
    bool moonrises = false;
};

// error: the error that ended the command.
nlohmann::json OutcomeJson(const CalculationState& state, const CliView& view,
                           ComputedTables computed, const std::optional<std::string>& error);

} // namespace toravel::cli
