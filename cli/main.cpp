// toravel-cli: the horoscope's calculation without a window.
//
// Runs the same calculation command as the desktop application, with the
// computer's offset taken from the machine's time zone (TZ selects it), and
// prints the report area's lines, or with --json one JSON object. Message-box
// texts go to standard error. Exit status: 0 done (also after the not-found
// message of the calendar day), 1 blank or impossible coordinates or an
// error (also no world atlas where one is needed), 2 a usage error. The lunar
// calendar's working texts are discarded.
//
// With --places it lists the world atlas's matches instead: exit status 0,
// or 1 when nothing matches or there is no atlas.
#include <iostream>
#include <string>

#include "cli/birthplace_lookup.h"
#include "cli/cli11.h"
#include "cli/cli_view.h"
#include "cli/command_options.h"
#include "cli/command_run.h"
#include "cli/json_output.h"
#include "lunar/calculation_state.h"
#include "platform/birthplace_zone.h"

int main(int argc, char** argv) {
    using namespace toravel;

    CLI::App app{"Торавель: славянский гороскоп по лунному дню момента рождения", "toravel-cli"};
    cli::CommandOptions options;
    bool json = false;
    cli::DescribeCommandOptions(
        app, options,
        "пол: male (мужской) или female (женский); выбирает оберег, картинок здесь нет");
    app.add_flag("--json", json, "вывести результат одним объектом JSON");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? cli::ExitDone : cli::ExitUsage;
    }

    if (options.places)
        return cli::ListPlaces(*options.places, json, std::cout, std::cerr);

    cli::CliView view(std::cerr);
    const cli::CommandRun run =
        cli::RunCommandFromOptions(options, view, std::cerr, app.get_name());
    if (run.status == cli::ExitUsage)
        return run.status;

    if (json) {
        nlohmann::json out = cli::OutcomeJson(SharedCalculationState(), view,
                                              {run.computedPath, run.moonrisesComputed}, run.error);
        out["birthplace_zone"] = run.autoZone ? nlohmann::json(run.autoZone->zoneName) : nullptr;
        out["birthplace_utc_offset"] =
            run.autoZone ? nlohmann::json(UtcOffsetText(run.autoZone->offsetSeconds)) : nullptr;
        out["birthplace"] = cli::BirthplaceJson(run.birthplace);
        std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        for (const std::string& line : view.area)
            std::cout << line << '\n';
    }
    return run.status;
}
