// A calculation as one JSON document of kind "horoscope" (docs/json.md): the
// inputs, the birthplace and the clock, the lunar day, the worlds and the
// circle as words, the report lines without their centring blanks and with
// their formats as data, the listings when they were asked for, message-box
// texts, warnings and the error.
#pragma once

#include <nlohmann/json.hpp>

#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"

namespace toravel::command_line {

Json CalculationJson(const CalculationRequest& request, const CalculationResult& result);

// The same keys appended to a document begun elsewhere (a batch line's, which
// names its line first).
void AppendCalculationJson(Json& document, const CalculationRequest& request,
                           const CalculationResult& result);

// The inputs as the document repeats them ("input").
Json CalculationInputJson(const CalculationRequest& request);

// The clock ("clock").
Json ClockJson(const CalculationClock& clock);

} // namespace toravel::command_line
