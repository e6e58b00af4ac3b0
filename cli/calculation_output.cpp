#include "cli/calculation_output.h"

#include "command_line/calculation_json.h"
#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "storage/horoscope_database.h"

namespace toravel::cli {

using namespace command_line;

int RunSingleCalculation(const CommandOptions& options, const SingleCalculation& settings,
                         std::ostream& out, std::ostream& err) {
    const auto begin = [&] {
        Json document = JsonDocument(JsonKind::Horoscope);
        if (settings.name)
            document["name"] = *settings.name;
        return document;
    };
    const PreparedCalculation prepared = PrepareCalculation(options, err);
    if (prepared.error) {
        err << ErrorText(*prepared.error, "toravel-cli");
        if (settings.json) {
            Json document = begin();
            document["error"] = ErrorJson(*prepared.error);
            out << JsonText(document);
        }
        return prepared.error->status;
    }
    HoroscopeDatabase database(ConnectionStringForDirectory(options.db));
    CalculationResult result =
        RunCalculation(*prepared.request, database, SearchedLunarTables(), &err);
    for (const std::string& warning : result.warnings)
        err << "внимание: " << warning << '\n';
    // Message boxes are echoed as they come up.
    if (result.error && result.error->code != error_code::NoBirthplace &&
        result.error->code != error_code::InvalidBirthplace)
        err << ErrorText(*result.error, "toravel-cli");
    if (settings.onResult) {
        if (std::optional<std::string> warning = settings.onResult(*prepared.request, result)) {
            err << "внимание: " << *warning << '\n';
            result.warnings.push_back(std::move(*warning));
        }
    }

    if (settings.json) {
        Json document = begin();
        AppendCalculationJson(document, *prepared.request, result);
        out << JsonText(document);
    } else {
        for (const std::string& line : result.view.area)
            out << line << '\n';
    }
    return result.status;
}

} // namespace toravel::cli
