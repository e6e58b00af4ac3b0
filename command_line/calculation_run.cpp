#include "command_line/calculation_run.h"

#include <exception>
#include <stdexcept>
#include <string_view>

#include "command_line/option_values.h"
#include "horoscope/calculation_command.h"
#include "lunar/moonrise_count.h"
#include "lunar/new_moon_search.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"

namespace toravel::command_line {
namespace {

// The quoted text of a platform conversion message ("'abc' is not a valid
// …"), when the message is one.
std::optional<std::string> ConvertedText(const std::string& message, std::string_view ending) {
    const std::string tail = "' is not a valid " + std::string(ending);
    if (message.size() < tail.size() + 1 || message.front() != '\'' || !message.ends_with(tail))
        return std::nullopt;
    return message.substr(1, message.size() - tail.size() - 1);
}

CommandError ErrorOfMessageBox(const std::string& text) {
    return {ExitFailed,
            text == InvalidBirthplaceMessage ? error_code::InvalidBirthplace
                                             : error_code::NoBirthplace,
            text};
}

std::string LunarDayWarning(std::int32_t lunarDay) {
    return "лунный день " + std::to_string(lunarDay) +
           " вне 1 … 30: ни мир лунного дня, ни мир периода не определяются";
}

} // namespace

std::string RussianConversionMessage(const std::string& message) {
    if (const auto text = ConvertedText(message, "floating point value"))
        return QuotedValue(*text) + " — не число";
    if (const auto text = ConvertedText(message, "integer value"))
        return QuotedValue(*text) + " — не целое число";
    return ErrorDisplayText(message);
}

CalculationResult RunCalculation(const CalculationRequest& request, CalendarDayLookup& calendarDays,
                                 LunarTables& tables, std::ostream* messages) {
    CalculationResult result;
    CommandView view(messages);
    view.birthDate = request.birthDate;
    view.birthTime = request.birthTime;
    view.latitude = request.latitude;
    view.longitude = request.longitude;
    view.listing = request.listing;
    view.lunarDay = request.lunarDay;

    SetLunarWorkingStream(&DiscardingStream());
    CalculationState& state = SharedCalculationState();
    ApplyClock(request.clock, view, state);
    if (const std::string warning = ClockReadingWarning(request.clock, request.BirthLocal());
        !warning.empty())
        result.warnings.push_back(warning);

    CalculationOutcome outcome;
    try {
        outcome = RunCalculationCommand(view, calendarDays, tables);
    } catch (const ConversionError& e) {
        outcome.ending = CalculationEnding::StoppedByError;
        result.error = {ExitFailed, error_code::NotANumber, RussianConversionMessage(e.what())};
    } catch (const CalendarDataError& e) {
        outcome.ending = CalculationEnding::StoppedByError;
        result.error = {ExitFailed, error_code::Database, ErrorDisplayText(e.what())};
    } catch (const std::exception& e) {
        // A failed search of the new moons, or a date beyond the calendar.
        outcome.ending = CalculationEnding::StoppedByError;
        result.error = {ExitFailed, error_code::Calculation, ErrorDisplayText(e.what())};
    }
    result.newMoonsComputed = outcome.newMoonsComputed;
    result.moonrisesComputed = outcome.moonrisesComputed;
    if (outcome.ending == CalculationEnding::StoppedByMessage)
        result.error = ErrorOfMessageBox(outcome.text);
    if (outcome.ending == CalculationEnding::ReportWritten &&
        (state.LunarDay < 1 || state.LunarDay > 30))
        result.warnings.push_back(LunarDayWarning(state.LunarDay));

    result.status = result.error ? result.error->status : ExitDone;
    result.state = state;
    result.view = std::move(view);
    return result;
}

} // namespace toravel::command_line
