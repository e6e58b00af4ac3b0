#include "cli/command_run.h"

#include <exception>

#include "cli/help_formatter.h"
#include "cli/option_values.h"
#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_database.h"
#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"
#include "platform/birthplace_zone.h"
#include "platform/birthplace_zone_hint.h"
#include "platform/city_line.h"
#include "platform/city_list.h"
#include "platform/computer_zone.h"

namespace toravel::cli {
namespace {

struct FoundCity {
    CityCoordinateTexts coordinates;
    std::string zone; // empty when the line has no fourth field
};

// The first line of the list whose name is exactly `name`.
std::optional<FoundCity> FindCity(const std::string& directory, const std::string& name) {
    for (const std::string& line : LoadCityList(directory + "/atlas.ini")) {
        const CityIdentity identity = CityIdentityOfLine(line);
        if (identity.name == name)
            return FoundCity{ApplyCityLine(line), identity.zone};
    }
    return std::nullopt;
}

} // namespace

CommandRun RunCommandFromOptions(const CommandOptions& o, CliView& view, std::ostream& err,
                                 const std::string& program) {
    CommandRun run;
    const auto usageError = [&](const std::string& problem) {
        err << UsageErrorText(problem, program);
        run.status = ExitUsage;
        return run;
    };
    const auto birthDate = ParseBirthDate(o.date);
    if (!birthDate)
        return usageError("--date: нет такой даты: " + o.date +
                          " (нужна ДД.ММ.ГГГГ, годы 2 … 9998)");
    const auto birthTime = ParseBirthTime(o.time);
    if (!birthTime)
        return usageError("--time: нужно время ЧЧ:ММ или ЧЧ:ММ:СС: " + o.time);
    if (CharacterCount(o.lunarDay) > 2)
        return usageError("--lunar-day: в поле лунного дня не более двух знаков: " + o.lunarDay);

    view.birthDate = *birthDate;
    view.birthTime = *birthTime;
    view.latitude = o.latitude;
    view.longitude = o.longitude;
    view.listing = o.list;
    view.lunarDay = o.lunarDay;
    view.zoneHours = std::to_string(o.zone);
    run.zoneHours = o.zone;

    SetLunarWorkingStream(&DiscardingStream());
    CalculationState& state = SharedCalculationState();

    bool stoppedByMessage = false;
    try {
        std::string cityZone;
        if (!o.city.empty()) {
            const auto city = FindCity(o.db, o.city);
            if (!city)
                return usageError("--city: нет населенного пункта «" + o.city + "» в списке");
            view.latitude = city->coordinates.latitude;
            view.longitude = city->coordinates.longitude;
            cityZone = city->zone;
        }
        const ComputerZone computer = ComputeComputerZoneOffset();
        state.ComputerZoneOffset = computer.offsetDays;
        run.computerOffsetSeconds = computer.offsetSeconds;
        run.computerZoneLabel = computer.labelText;

        if (o.autoZone) {
            if (cityZone.empty())
                return usageError("--auto-zone: у населенного пункта «" + o.city +
                                  "» в списке не указан часовой пояс");
            if (!IsKnownZoneName(cityZone))
                return usageError("--auto-zone: часовой пояс «" + cityZone +
                                  "» населенного пункта «" + o.city + "» неизвестен");
            const TDateTime birthLocal = DateOf(*birthDate) + TimeOf(*birthTime);
            const BirthplaceZoneHint hint =
                MakeBirthplaceZoneHint(cityZone, birthLocal, computer.offsetSeconds);
            if (!hint.offset || !hint.spinValue)
                return usageError("--auto-zone: нет смещения пояса «" + cityZone +
                                  "» на момент рождения");
            if (!hint.canApply)
                return usageError("--auto-zone: " + cityZone + ": " + hint.text);
            run.autoZone =
                AutoZoneChoice{cityZone, hint.offset->offsetSeconds, *hint.spinValue, hint.text};
            view.zoneHours = std::to_string(*hint.spinValue);
            run.zoneHours = *hint.spinValue;
            err << "--auto-zone: " << cityZone << ": " << hint.text << "; взято --zone "
                << *hint.spinValue << '\n'
                << std::flush;
        }

        HoroscopeDatabase database(ConnectionStringForDirectory(o.db));
        const CalculationOutcome outcome = RunCalculationCommandReportingErrors(view, database);
        run.computedPath = outcome.newMoonsComputed;
        run.moonrisesComputed = outcome.moonrisesComputed;
        stoppedByMessage = outcome.ending == CalculationEnding::StoppedByMessage;
        if (outcome.ending == CalculationEnding::StoppedByError)
            run.error = ErrorDisplayText(outcome.text);
    } catch (const std::exception& e) {
        run.error = ErrorDisplayText(e.what());
    }
    if (run.error)
        err << *run.error << '\n';
    run.status = run.error || stoppedByMessage ? ExitFailed : ExitDone;
    return run;
}

} // namespace toravel::cli
