#include "cli/json_output.h"

#include <charconv>

namespace toravel::cli {
namespace {

void AppendPadded(std::string& text, int value, int width) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string digits(buffer, result.ptr);
    if (static_cast<int>(digits.size()) < width)
        text.append(width - digits.size(), '0');
    text += digits;
}

nlohmann::json TableJson(const auto& table, bool dateOnlyAtMidnight) {
    nlohmann::json texts = nlohmann::json::array();
    for (TDateTime entry : table)
        texts.push_back(MinuteText(entry, dateOnlyAtMidnight));
    return texts;
}

} // namespace

std::string MinuteText(TDateTime t, bool dateOnlyAtMidnight) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(t, year, month, day, hour, minute, second, millisecond);
    std::string text;
    AppendPadded(text, day, 2);
    text += '.';
    AppendPadded(text, month, 2);
    text += '.';
    AppendPadded(text, year, 4);
    if (dateOnlyAtMidnight && hour == 0 && minute == 0 && second == 0 && millisecond == 0) {
        return text;
    }
    text += ' ';
    AppendPadded(text, hour, 2);
    text += ':';
    AppendPadded(text, minute, 2);
    return text;
}

nlohmann::json OutcomeJson(const CalculationState& state, const CliView& view,
                           ComputedTables computed, const std::optional<std::string>& error) {
    nlohmann::json out;
    out["lunar_day"] = state.LunarDay;
    out["given_lunar_day"] = state.GivenLunarDay;
    out["day_world"] = state.DayWorld;
    out["lunar_world"] = state.LunarWorld;
    out["period_world"] = state.PeriodWorld;
    out["circle"] = state.CircleName;
    out["new_moon_birth"] = state.NewMoonFlag;
    out["zone_offset_days"] = state.ZoneOffsetDays;
    out["computer_zone_offset_days"] = state.ComputerZoneOffset;
    out["calculation_moment"] =
        computed.newMoons ? nlohmann::json(MinuteText(state.CalculationMoment, false)) : nullptr;
    out["preceding_new_moon"] =
        computed.newMoons ? nlohmann::json(MinuteText(state.PrecedingNewMoon, false)) : nullptr;
    out["new_moons"] =
        computed.newMoons ? TableJson(state.NewMoonTable, false) : nlohmann::json::array();
    out["moonrises"] =
        computed.moonrises ? TableJson(state.MoonriseTable, true) : nlohmann::json::array();
    out["report"] = view.reportLines;
    out["listing"] = nlohmann::json::array();
    for (std::size_t i = 0; i + view.reportLines.size() < view.area.size(); ++i) {
        out["listing"].push_back(view.area[i]);
    }
    out["messages"] = view.messages;
    out["error"] = error ? nlohmann::json(*error) : nullptr;
    return out;
}

} // namespace toravel::cli
