// toravel-cli: the horoscope's calculation without a window.
//
// Runs the same calculation command as the desktop application and prints
// the report area's lines, or with --json one JSON document (docs/json.md).
// The birthplace's clock is --utc-offset, --zone-name or --auto-zone, which
// do not depend on the machine, or, as in the window, --zone hours added to
// the computer's own offset (TZ selects the computer's zone). Without any,
// the birthplace's own zone, as --auto-zone takes it. Message-box
// texts, notes and errors go to standard error; the lunar calendar's working
// texts are discarded.
//
// Other runs: --batch (a birth CSV, one result per line), --places (the world
// atlas's matches), --month (a month's lunar calendar at a place), and the
// person file: --people, --person, --people-export, --people-import.
//
// Exit status: 0 a result (also after the not-found message of the calendar
// day), 1 a calculation or data error (blank or impossible coordinates, an
// unreadable database, no world atlas where one is needed, a failed batch
// line, output that could not be written), 2 a usage error.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "atlas/geonames_atlas.h"
#include "cli/batch_command.h"
#include "cli/calculation_output.h"
#include "cli/month_command.h"
#include "cli/people_commands.h"
#include "command_line/birthplace_lookup.h"
#include "command_line/cli11.h"
#include "command_line/command_options.h"
#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "files/standard_output.h"
#include "place/city_list_source.h"
#include "storage/city_list.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;
using namespace toravel::command_line;

// Whether --json was asked for, and for which kind of document, read from
// the words themselves when the parser refused the line.
std::optional<JsonKind> JsonWanted(int argc, char** argv) {
    bool json = false;
    JsonKind kind = JsonKind::Horoscope;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--")
            break;
        json = json || word == "--json";
        if (word == "--places")
            kind = JsonKind::Places;
        else if (word == "--month")
            kind = JsonKind::Month;
        else if (word == "--people")
            kind = JsonKind::People;
    }
    return json ? std::optional<JsonKind>(kind) : std::nullopt;
}

int Run(int argc, char** argv) {
    UseSystemZoneFiles();
    UseGeonamesAtlas();
    SetCityListReader(LoadCityList);
    CLI::App app{"Торавель: славянский гороскоп по лунному дню момента рождения", "toravel-cli"};
    CommandOptions options;
    bool json = false;
    cli::BatchCommand batch;
    DescribeCommandOptions(
        app, options,
        "пол: male (мужской) или female (женский); выбирает оберег, картинок здесь нет");
    app.add_flag("--json", json, "вывести результат одним документом JSON (docs/json.md)");
    auto* batchOption =
        app.add_option("--batch", batch.input,
                       "рассчитать каждую строку файла CSV (или стандартного ввода, «-»): "
                       "столбцы date, time, latitude и longitude или place, по желанию "
                       "utc_offset, zone_name или zone (без них — часы места рождения), "
                       "lunar_day, sex, name; результат — строка JSON на каждую строку файла")
            ->type_name("ФАЙЛ.csv");
    app.add_option("--batch-format", batch.format, "вывод --batch: jsonl (по умолчанию) или csv")
        ->type_name("jsonl|csv")
        ->check(OneOf({"jsonl", "csv"}))
        ->needs(batchOption);
    batch.format = "jsonl";

    cli::PeopleCommand people;
    bool listPeople = false;
    std::string onConflict = "skip";
    app.add_flag("--people", listPeople, "показать картотеку: имена, даты, время и места рождения");
    auto* person = app.add_option("--person", people.argument,
                                  "рассчитать для человека из картотеки (имя без учета регистра); "
                                  "результат запоминается у человека, как в окне")
                       ->type_name("ИМЯ");
    auto* exportFile = app.add_option("--people-export", people.argument,
                                      "записать картотеку в файл CSV (или «-», стандартный "
                                      "вывод), в столбцах --batch")
                           ->type_name("ФАЙЛ.csv");
    auto* importFile = app.add_option("--people-import", people.argument,
                                      "добавить в картотеку людей из файла CSV (или «-», "
                                      "стандартный ввод): столбцы name, date и по желанию "
                                      "time, place, latitude, longitude, utc_offset, zone_name, "
                                      "zone, sex, lunar_day, note")
                           ->type_name("ФАЙЛ.csv");
    app.add_option("--on-conflict", onConflict,
                   "человек с тем же именем уже есть: skip — оставить его (по умолчанию), "
                   "replace — заменить")
        ->type_name("skip|replace")
        ->check(OneOf({"skip", "replace"}))
        ->needs(importFile);
    auto* peopleFile = app.add_option("--people-file", people.file,
                                      "файл картотеки (по умолчанию тот же, что у окна: "
                                      "$XDG_DATA_HOME/toravel/people.sqlite, без XDG_DATA_HOME "
                                      "~/.local/share/toravel/people.sqlite)")
                           ->type_name("ФАЙЛ");

    app.final_callback([&app] {
        CheckRunModes(app, {{"--places", {"--json"}},
                            {"--month",
                             [] {
                                 auto companions = PlaceAndClockOptions();
                                 companions.push_back("--json");
                                 return companions;
                             }()},
                            {"--batch", {"--batch-format", "--list"}},
                            {"--people", {"--people-file", "--json"}},
                            {"--person", {"--people-file", "--json", "--list"}},
                            {"--people-export", {"--people-file"}},
                            {"--people-import", {"--people-file", "--on-conflict"}}});
    });
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        if (status == 0)
            return ExitDone;
        if (const std::optional<JsonKind> kind = JsonWanted(argc, argv))
            std::cout << JsonText(FailureJson(*kind, UsageError(RussianUsageProblem(e))));
        return ExitUsage;
    }

    if (options.places)
        return ListPlaces(*options.places, json, std::cout, std::cerr);
    if (options.month)
        return cli::RunMonthCommand(options, json, std::cout, std::cerr);
    if (peopleFile->count() > 0 &&
        listPeople + person->count() + exportFile->count() + importFile->count() == 0) {
        std::cerr << UsageErrorText("--people-file задают вместе с --people, --person, "
                                    "--people-export или --people-import");
        return ExitUsage;
    }
    if (listPeople || person->count() + exportFile->count() + importFile->count() > 0) {
        people.action = listPeople                ? cli::PeopleAction::List
                        : person->count() > 0     ? cli::PeopleAction::Person
                        : exportFile->count() > 0 ? cli::PeopleAction::Export
                                                  : cli::PeopleAction::Import;
        if (people.file.empty() && peopleFile->count() > 0) {
            std::cerr << UsageErrorText("--people-file: не задан файл");
            return ExitUsage;
        }
        people.onConflict = onConflict == "replace" ? OnConflict::Replace : OnConflict::Skip;
        return cli::RunPeopleCommand(people, options, json, std::cout, std::cerr);
    }
    if (batchOption->count() > 0) {
        batch.db = options.db;
        batch.listing = options.list;
        return cli::RunBatchCommand(batch, std::cout, std::cerr);
    }
    cli::SingleCalculation single;
    single.json = json;
    return cli::RunSingleCalculation(options, single, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    // Before anything is printed: what cannot reach standard output ends the
    // run with status 1 and the reason, never with a silent 0.
    toravel::CheckedStandardOutput output;
    const int status = Run(argc, argv);
    return output.Finish(status, std::cerr);
}
