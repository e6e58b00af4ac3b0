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
#include "platform/computer_zone.h"

namespace toravel::cli {

CommandRun RunCommandFromOptions(const CommandOptions& o, CliView& view, std::ostream& err,
                                 const std::string& program) {
    CommandRun run;
    const auto usageError = [&](const std::string& problem) {
        err << UsageErrorText(problem, program);
        run.status = ExitUsage;
        return run;
    };
    if (o.date.empty())
        return usageError(MissingRequiredOption("--date"));
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
        const BirthplaceLookup birthplace = LookUpBirthplace(o, err);
        if (!birthplace.resolved && birthplace.status == ExitUsage)
            return usageError(birthplace.problem);
        if (!birthplace.resolved) {
            err << birthplace.problem << '\n';
            run.status = birthplace.status;
            return run;
        }
        const ResolvedBirthplace& where = *birthplace.resolved;
        view.latitude = where.latitude;
        view.longitude = where.longitude;
        run.birthplace = where.place;
        const ComputerZone computer = ComputeComputerZoneOffset();
        state.ComputerZoneOffset = computer.offsetDays;
        run.computerOffsetSeconds = computer.offsetSeconds;
        run.computerZoneLabel = computer.labelText;

        if (o.autoZone) {
            const std::string& zone = where.zone;
            if (zone.empty())
                return usageError("--auto-zone: у " + where.zoneOwner +
                                  " в списке не указан часовой пояс");
            if (!IsKnownZoneName(zone))
                return usageError("--auto-zone: часовой пояс «" + zone + "» " + where.zoneOwner +
                                  " неизвестен");
            const TDateTime birthLocal = DateOf(*birthDate) + TimeOf(*birthTime);
            const BirthplaceZoneHint hint =
                MakeBirthplaceZoneHint(zone, birthLocal, computer.offsetSeconds, where.hintWording);
            if (!hint.offset || !hint.spinValue)
                return usageError("--auto-zone: нет смещения пояса «" + zone +
                                  "» на момент рождения");
            if (!hint.canApply)
                return usageError("--auto-zone: " + zone + ": " + hint.text);
            run.autoZone =
                AutoZoneChoice{zone, hint.offset->offsetSeconds, *hint.spinValue, hint.text};
            view.zoneHours = std::to_string(*hint.spinValue);
            run.zoneHours = *hint.spinValue;
            err << "--auto-zone: " << zone << ": " << hint.text << "; взято --zone "
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
