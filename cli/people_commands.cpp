#include "cli/people_commands.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "batch/batch_line.h"
#include "cli/calculation_output.h"
#include "cli/text_columns.h"
#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "command_line/option_values.h"
#include "files/output_file.h"
#include "people/person_export.h"
#include "people/person_file_path.h"
#include "people/person_import.h"
#include "platform/tdatetime.h"

namespace toravel::cli {
namespace {

using namespace command_line;

const char* Program = "toravel-cli";

CommandError PersonFileFailure(const PersonFileError& e) {
    return {ExitFailed, error_code::PersonFile, e.what()};
}

int Fail(const CommandError& error, bool json, std::ostream& out, std::ostream& err) {
    err << ErrorText(error, Program);
    if (json)
        out << JsonText(FailureJson(JsonKind::People, error));
    return error.status;
}

// The file when it is there; a file in memory, empty, when it is not, so
// that reading creates nothing.
PersonFile OpenForReading(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored))
        return PersonFile::InMemory();
    return PersonFile(path);
}

std::string IsoDateOf(const std::string& date) {
    const auto parsed = ParseBirthDate(date);
    return parsed ? IsoDateText(*parsed) : date;
}

int List(const PeopleCommand& command, bool json, std::ostream& out, std::ostream& err) {
    const PersonFile file = OpenForReading(command.file);
    const std::vector<PersonSummary> people = file.List();
    if (json) {
        Json document = JsonDocument(JsonKind::People);
        document["file"] = command.file;
        Json list = Json::array();
        for (const PersonSummary& person : people) {
            list.push_back({{"name", person.name},
                            {"date", IsoDateOf(person.date)},
                            {"time", person.time},
                            {"place", person.place.empty() ? Json(nullptr) : Json(person.place)}});
        }
        document["people"] = std::move(list);
        document["error"] = nullptr;
        out << JsonText(document);
        return ExitDone;
    }
    if (people.empty()) {
        err << "в картотеке никого нет: " << command.file << '\n';
        return ExitDone;
    }
    // A name of up to 10,000 characters is cut, so that the columns stay.
    constexpr std::size_t kNameColumnMost = 40;
    std::vector<std::array<std::string, 4>> rows = {{"Имя", "Дата", "Время", "Место"}};
    for (const PersonSummary& person : people)
        rows.push_back(
            {ShortenedCell(person.name, kNameColumnMost), person.date, person.time, person.place});
    for (const std::string& line : AlignedColumns(rows))
        out << line << '\n';
    return ExitDone;
}

int CalculatePerson(const PeopleCommand& command, const CommandOptions& options, bool json,
                    std::ostream& out, std::ostream& err) {
    std::optional<Person> person;
    {
        const PersonFile file = OpenForReading(command.file);
        person = file.Find(command.argument);
    }
    if (!person) {
        return Fail(UsageError("--person: в картотеке нет человека " +
                               QuotedValue(command.argument) + " (" + command.file + ")"),
                    json, out, err);
    }
    CommandOptions calculation;
    if (const std::string problem = batch::OptionsOfBirthRow(RowOfPerson(*person), calculation);
        !problem.empty()) {
        return Fail({ExitFailed, error_code::Input,
                     "--person: у человека " + QuotedValue(person->name) + " " + problem},
                    json, out, err);
    }
    calculation.db = options.db;
    calculation.list = options.list;

    SingleCalculation settings;
    settings.json = json;
    settings.name = person->name;
    // The result stays with the person, as the window keeps it; a file that
    // cannot take it does not undo the calculation, and says so.
    settings.onResult = [&](const CalculationRequest&,
                            const CalculationResult& result) -> std::optional<std::string> {
        if (result.error)
            return std::nullopt;
        LastResult last;
        last.lunarDay = result.state.LunarDay;
        last.dayWorld = result.state.DayWorld;
        last.lunarWorld = result.state.LunarWorld;
        last.periodWorld = result.state.PeriodWorld;
        last.circle = result.state.CircleName;
        try {
            PersonFile file(command.file);
            file.RecordResult(person->name, last);
        } catch (const PersonFileError& e) {
            return std::string("результат не сохранен в картотеке: ") + e.what();
        }
        return std::nullopt;
    };
    return RunSingleCalculation(calculation, settings, out, err);
}

int Export(const PeopleCommand& command, std::ostream& out, std::ostream& err) {
    const PersonFile file = OpenForReading(command.file);
    if (command.argument == "-") {
        ExportPeople(file, out);
        return ExitDone;
    }
    try {
        const std::size_t written = ExportPeopleToFile(file, command.argument);
        err << "записано людей: " << written << " в " << command.argument << '\n';
    } catch (const OutputFileError& e) {
        err << ErrorText({ExitFailed, error_code::Output, e.what()}, Program);
        return ExitFailed;
    }
    return ExitDone;
}

int Import(const PeopleCommand& command, std::ostream& err) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (command.argument != "-") {
        std::error_code ignored;
        if (std::filesystem::is_directory(command.argument, ignored)) {
            err << ErrorText(UsageError("--people-import: " + QuotedValue(command.argument) +
                                        " — каталог, а не файл"),
                             Program);
            return ExitUsage;
        }
        file.open(command.argument, std::ios::binary);
        if (!file) {
            err << ErrorText(
                UsageError("--people-import: не открыть файл " + QuotedValue(command.argument)),
                Program);
            return ExitUsage;
        }
        in = &file;
    }
    PersonFile people(command.file);
    // Asked for every name already there, so that a line declined for its
    // name is told from a line that could not be read.
    std::size_t declined = 0;
    const bool replace = command.onConflict == OnConflict::Replace;
    const ImportReport report = ImportPeople(
        people, *in, OnConflict::Ask,
        [&](const Person&, const Person&, std::uint64_t) {
            declined += replace ? 0 : 1;
            return replace;
        },
        [&](const ImportNote& note) {
            if (note.line > 0)
                err << "строка " << note.line << ": ";
            err << note.message << '\n';
        });
    if (!report.refused.empty()) {
        err << "--people-import: " << report.refused << '\n';
        return ExitFailed;
    }
    err << "добавлено: " << report.added << ", заменено: " << report.replaced
        << ", пропущено: " << report.skipped << '\n';
    return report.skipped > declined ? ExitFailed : ExitDone;
}

} // namespace

int RunPeopleCommand(const PeopleCommand& given, const CommandOptions& options, bool json,
                     std::ostream& out, std::ostream& err) {
    PeopleCommand command = given;
    if (command.file.empty()) {
        const PersonFileLocation location = DefaultPersonFileLocation();
        if (location.path.empty())
            return Fail({ExitFailed, error_code::PersonFile,
                         "Картотеку негде искать: " + location.problem +
                             ". Задайте файл параметром --people-file."},
                        json, out, err);
        command.file = location.path.string();
    }
    try {
        switch (command.action) {
        case PeopleAction::List:
            return List(command, json, out, err);
        case PeopleAction::Person:
            return CalculatePerson(command, options, json, out, err);
        case PeopleAction::Export:
            return Export(command, out, err);
        case PeopleAction::Import:
            return Import(command, err);
        }
    } catch (const PersonFileError& e) {
        return Fail(PersonFileFailure(e), json, out, err);
    }
    return ExitDone;
}

} // namespace toravel::cli
