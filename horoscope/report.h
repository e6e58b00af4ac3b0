// The result report: four formatted lines that name the lunar day and the
// circle and world of the period. The lines and their character formats are
// data; each front end renders them its own way.
//
// Reads GivenLunarDay, CircleName, PeriodWorld, LunarDay and NewMoonFlag from
// the calculation state; writes LunarDayText (empty after the report).
#pragma once

#include <array>
#include <string>

#include "horoscope/character_format.h"
#include "horoscope/horoscope_view.h"
#include "lunar/calculation_state.h"

namespace toravel {

struct ReportLine {
    CharacterFormat format;
    std::string text;

    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

using Report = std::array<ReportLine, 4>;

// The four lines for the given state, in order.
Report ComposeReport(const CalculationState& state);

// Appends the four lines of the shared state's report to the view, each
// after setting its format, and leaves LunarDayText empty.
void WriteReport(HoroscopeView& view);

} // namespace toravel
