#include "command_line/calculation_json.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "command_line/json_document.h"
#include "lunar/moonrise_count.h"
#include "place/birthplace_zone.h"
#include "platform/ascii_text.h"
#include "platform/conversions.h"

namespace toravel::command_line {
namespace {

Json DegreesOrNull(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const ConversionError&) {
        return nullptr;
    }
}

std::string ColourText(const CharacterFormat& format) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", format.r, format.g, format.b);
    return text;
}

Json ReportJson(const CommandView& view) {
    Json lines = Json::array();
    for (std::size_t i = 0; i < view.reportLines.size(); ++i) {
        const CharacterFormat& format = view.reportFormats[i];
        // The blanks centre a line in the window's report area; a script
        // wants the words.
        lines.push_back({{"text", std::string(TrimEnds(view.reportLines[i], IsSpaceOrTab))},
                         {"bold", format.bold},
                         {"size", format.pointSize},
                         {"color", ColourText(format)}});
    }
    return lines;
}

Json ListingJson(const CalculationState& state, int clockOffsetSeconds) {
    Json newMoons = Json::array();
    for (TDateTime newMoon : state.NewMoonTable) {
        newMoons.push_back(
            {{"moment", IsoMoment(newMoon, clockOffsetSeconds)}, {"text", DateTimeToStr(newMoon)}});
    }
    Json moonrises = Json::array();
    for (TDateTime entry : state.MoonriseTable) {
        // A day without moonrise is its date at 00:00.
        const bool rises = TimeOf(entry) != 0.0;
        moonrises.push_back(
            {{"date", IsoDateText(entry)},
             {"moment", rises ? Json(IsoMoment(entry, clockOffsetSeconds)) : Json(nullptr)},
             {"text", DateTimeToStr(entry)}});
    }
    return {{"new_moons", std::move(newMoons)}, {"moonrises", std::move(moonrises)}};
}

} // namespace

Json CalculationInputJson(const CalculationRequest& request) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(request.BirthLocal(), year, month, day, hour, minute, second, millisecond);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, second);
    return {{"date", IsoDateText(request.birthDate)},
            {"time", time},
            {"latitude", DegreesOrNull(request.latitude)},
            {"longitude", DegreesOrNull(request.longitude)},
            {"place", request.placeText ? Json(*request.placeText) : nullptr},
            {"sex", request.female ? "female" : "male"}};
}

Json ClockJson(const CalculationClock& clock) {
    const bool window = clock.source == ClockSource::Zone;
    const bool zone = !clock.zoneName.empty();
    return {{"utc_offset", UtcOffsetText(clock.offsetSeconds)},
            {"source", ClockSourceName(clock.source)},
            {"zone_name", zone ? Json(clock.zoneName) : nullptr},
            {"summer_time", zone ? Json(clock.summerTime) : nullptr},
            {"zone_hours", window ? Json(clock.zoneHours) : nullptr},
            {"computer_utc_offset",
             window ? Json(UtcOffsetText(clock.computer.offsetSeconds)) : nullptr}};
}

Json CalculationJson(const CalculationRequest& request, const CalculationResult& result) {
    Json document = JsonDocument(JsonKind::Horoscope);
    AppendCalculationJson(document, request, result);
    return document;
}

void AppendCalculationJson(Json& document, const CalculationRequest& request,
                           const CalculationResult& result) {
    document["input"] = CalculationInputJson(request);
    document["birthplace"] = BirthplaceJson(request.birthplace);
    document["clock"] = ClockJson(request.clock);
    if (result.error) {
        document["messages"] = result.view.messages;
        document["warnings"] = result.warnings;
        document["error"] = ErrorJson(*result.error);
        return;
    }

    const CalculationState& state = result.state;
    const int offset = request.clock.offsetSeconds;
    const bool computed = result.newMoonsComputed;
    document["path"] = computed ? "computed" : "typed";
    document["lunar_day"] = state.LunarDay;
    document["given_lunar_day"] = state.GivenLunarDay != 0 ? Json(state.GivenLunarDay) : nullptr;
    document["new_moon_birth"] = state.NewMoonFlag;
    // The birth moment to the second, as the calculation compares it.
    const TDateTime moment = request.BirthLocal();
    document["moment"] = IsoMoment(moment, offset);
    document["moment_text"] = DateTimeToStr(moment);
    document["preceding_new_moon"] =
        computed ? Json(IsoMoment(state.PrecedingNewMoon, offset)) : nullptr;
    document["preceding_new_moon_text"] =
        computed ? Json(DateTimeToStr(state.PrecedingNewMoon)) : nullptr;
    document["day_world"] = WorldJson(state.DayWorld);
    document["lunar_world"] = WorldJson(state.LunarWorld);
    document["period_world"] = WorldJson(state.PeriodWorld);
    document["circle"] = CircleJson(state.CircleName);
    document["report"] = ReportJson(result.view);
    document["listing"] = request.listing && computed && result.moonrisesComputed
                              ? ListingJson(state, offset)
                              : Json(nullptr);
    document["messages"] = result.view.messages;
    document["warnings"] = result.warnings;
    document["error"] = nullptr;
}

} // namespace toravel::command_line
