#include "horoscope/report.h"

#include <charconv>
#include <cstdint>

#include "horoscope/world_classification.h"

namespace toravel {
namespace {

constexpr CharacterFormat BlackTwelve{true, 12, 0, 0, 0};
constexpr CharacterFormat RedSixteen{true, 16, 255, 0, 0};
constexpr CharacterFormat MagentaFifteen{true, 15, 255, 0, 255};

// Decimal, with a minus sign when negative.
std::string DecimalText(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

} // namespace

Report ComposeReport(const CalculationState& state) {
    std::string first;
    if (state.GivenLunarDay != 0) {
        first = " вы указали, что расчетная дата является " + DecimalText(state.GivenLunarDay) +
                " лунным днем, что соответствует ";
    } else {
        first = Blanks(45) + "расчетный период соответствует";
        if (state.NewMoonFlag)
            first += " (это новолуние)";
    }
    std::string second = Blanks(37) + state.CircleName + " кругу ";
    second += WorldName(state.PeriodWorld);
    return {{
        {BlackTwelve, std::move(first)},
        {RedSixteen, std::move(second)},
        {BlackTwelve, Blanks(52) + "Славянского Мироздания"},
        {MagentaFifteen, Blanks(49) + DecimalText(state.LunarDay) + " лунный день"},
    }};
}

void WriteReport(HoroscopeView& view) {
    CalculationState& state = SharedCalculationState();
    for (const ReportLine& line : ComposeReport(state)) {
        state.LunarDayText = line.text;
        view.AppendFormattedLine(line.format, state.LunarDayText);
    }
    state.LunarDayText.clear();
}

} // namespace toravel
