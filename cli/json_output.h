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

// computedPath: whether the new moons and moonrises of this run are in the
// state (empty arrays otherwise). error: the error that ended the command.
nlohmann::json OutcomeJson(const CalculationState& state, const CliView& view, bool computedPath,
                           const std::optional<std::string>& error);

} // namespace toravel::cli
