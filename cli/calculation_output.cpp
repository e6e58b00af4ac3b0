#include "cli/calculation_output.h"

#include "command_line/calculation_json.h"
#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "command_line/help_formatter.h"
#include "command_line/json_document.h"
#include "horoscope/horoscope_database.h"

namespace toravel::cli {

using namespace command_line;

int RunSingleCalculation(const CommandOptions& options, bool json, std::ostream& out,
                         std::ostream& err) {
    const PreparedCalculation prepared = PrepareCalculation(options, err);
    if (prepared.error) {
        err << ErrorText(*prepared.error, "toravel-cli");
        if (json)
            out << JsonText(FailureJson(JsonKind::Horoscope, *prepared.error));
        return prepared.error->status;
    }
    HoroscopeDatabase database(ConnectionStringForDirectory(options.db));
    const CalculationResult result =
        RunCalculation(*prepared.request, database, SearchedLunarTables(), &err);
    for (const std::string& warning : result.warnings)
        err << "внимание: " << warning << '\n';
    if (result.error && result.error->code != error_code::NoBirthplace &&
        result.error->code != error_code::InvalidBirthplace)
        err << ErrorText(*result.error, "toravel-cli"); // message boxes are echoed already

    if (json) {
        out << JsonText(CalculationJson(*prepared.request, result));
    } else {
        for (const std::string& line : result.view.area)
            out << line << '\n';
    }
    return result.status;
}

} // namespace toravel::cli
